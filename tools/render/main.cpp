// tessaly-render: paints a garden into a PNG, PDF or SVG file without a screen.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

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
    switch (parsed.action) {
        case ParsedCommandLine::Action::Help:
            std::fputs(kRenderUsage, stdout);
            return kExitOk;
        case ParsedCommandLine::Action::Version:
            std::printf("tessaly-render %s\n", TESSALY_VERSION);
            return kExitOk;
        case ParsedCommandLine::Action::Render:
            break;
    }
    std::string error;
    if (!RunRender(parsed.options, stdout, isatty(STDERR_FILENO) != 0, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitIoError;
    }
    return kExitOk;
}
