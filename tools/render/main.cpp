// tessaly-render: paints a garden into a PNG, PDF or SVG file without a screen.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Messages.h"
#include "RenderJob.h"
#include "RenderOptions.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed;
    if (std::string error; !ParseRenderOptions(args, parsed, error)) {
        std::fprintf(stderr, "tessaly-render: %s (see --help)\n", error.c_str());
        return kExitUsage;
    }
    if (parsed.action != ParsedCommandLine::Action::Render) {
        const bool help = parsed.action == ParsedCommandLine::Action::Help;
        const std::string text = help ? kRenderUsage : "tessaly-render " TESSALY_VERSION "\n";
        if (std::string error; !WriteText(stdout, text, error)) {
            std::fprintf(stderr, "tessaly-render: cannot write the %s: %s\n", help ? "help" : "version", error.c_str());
            return kExitIoError;
        }
        return kExitOk;
    }
    std::string error;
    if (!RunRender(parsed.options, stdout, isatty(STDERR_FILENO) != 0, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitIoError;
    }
    return kExitOk;
}
