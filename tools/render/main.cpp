// tessaly-render: paints a garden into a PNG, PDF or SVG file without a screen.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "RenderCommand.h"
#include "RenderJob.h"
#include "shell/ExitCodes.h"

int main(int argc, char** argv) {
    using namespace tessaly;
    RenderOptions options;
    if (int code = 0; !ReadRenderCommand(argc, argv, {"tessaly-render " TESSALY_VERSION, ""}, options, code)) return code;
    std::string error;
    if (!RunRender(options, stdout, isatty(STDERR_FILENO) != 0, error)) {
        std::fprintf(stderr, "tessaly-render: %s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}
