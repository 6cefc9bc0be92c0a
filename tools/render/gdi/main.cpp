// tessaly-render.exe: command line as the Linux tool's, drawing with GDI.
#include <cstdio>
#include <string>

#include "GdiRender.h"
#include "render/RenderCommand.h"
#include "shell/ExitCodes.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    const RenderProgram program{"tessaly-render " TESSALY_VERSION " (Windows, GDI)",
                                "\nThis Windows build draws with GDI and writes PNG only.\n"};
    RenderOptions options;
    if (int code = 0; !ReadRenderCommand(argc, argv, program, options, code)) return code;
    std::string error;
    if (!win32::SupportedOnGdi(options, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!win32::RunGdiRender(options, stdout, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}
