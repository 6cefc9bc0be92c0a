#include "RenderCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/ExitCodes.h"

namespace tessaly {

bool ReadRenderCommand(int argc, char** argv, const RenderProgram& program, RenderOptions& options, int& exitCode) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed;
    if (std::string error; !ParseRenderOptions(args, parsed, error)) {
        std::fprintf(stderr, "tessaly-render: %s (see --help)\n", error.c_str());
        exitCode = kExitUsage;
        return false;
    }
    if (parsed.action == ParsedCommandLine::Action::Render) {
        options = parsed.options;
        return true;
    }
    // A help or version that cannot be written is an error, not a success.
    const bool help = parsed.action == ParsedCommandLine::Action::Help;
    const std::string text = help ? kRenderUsage + program.helpNote : program.version + "\n";
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) {
        exitCode = kExitOk;
    } else {
        std::fprintf(stderr, "tessaly-render: cannot write the %s: %s\n", help ? "help" : "version",
                     std::strerror(errno != 0 ? errno : EIO));
        exitCode = kExitFailed;
    }
    return false;
}

}  // namespace tessaly
