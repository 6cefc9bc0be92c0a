// tessaly-render.exe: command line as the Linux tool's, drawing with GDI.
#include <cstdio>
#include <string>
#include <vector>

#include "render/GdiRender.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed;
    if (std::string error; !ParseRenderOptions(args, parsed, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return 2;
    }
    switch (parsed.action) {
        case ParsedCommandLine::Action::Help:
            std::fputs(kRenderUsage, stdout);
            std::fputs("\nThis Windows build draws with GDI and writes PNG only.\n", stdout);
            return 0;
        case ParsedCommandLine::Action::Version:
            std::printf("tessaly-render %s (Windows, GDI)\n", TESSALY_VERSION);
            return 0;
        case ParsedCommandLine::Action::Render:
            break;
    }
    std::string error;
    if (!win32::SupportedOnGdi(parsed.options, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return 2;
    }
    if (!win32::RunGdiRender(parsed.options, stdout, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
