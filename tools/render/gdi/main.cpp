// tessaly-render.exe: command line as the Linux tool's, drawing with GDI.
#include <cstdio>
#include <string>
#include <vector>

#include "GdiRender.h"

namespace {

// A help or version text that cannot be written is an error, as on Linux.
bool Say(const std::string& text) {
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tessaly;
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed;
    if (std::string error; !ParseRenderOptions(args, parsed, error)) {
        std::fprintf(stderr, "tessaly-render: %s (see --help)\n", error.c_str());
        return kExitUsage;
    }
    switch (parsed.action) {
        case ParsedCommandLine::Action::Help:
            if (!Say(std::string(kRenderUsage) + "\nThis Windows build draws with GDI and writes PNG only.\n")) {
                std::fputs("tessaly-render: cannot write the help\n", stderr);
                return kExitIoError;
            }
            return kExitOk;
        case ParsedCommandLine::Action::Version:
            if (!Say("tessaly-render " TESSALY_VERSION " (Windows, GDI)\n")) {
                std::fputs("tessaly-render: cannot write the version\n", stderr);
                return kExitIoError;
            }
            return kExitOk;
        case ParsedCommandLine::Action::Render:
            break;
    }
    std::string error;
    if (!win32::SupportedOnGdi(parsed.options, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!win32::RunGdiRender(parsed.options, stdout, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitIoError;
    }
    return kExitOk;
}
