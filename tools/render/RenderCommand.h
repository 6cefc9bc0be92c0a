// What both renderers' mains do before they render: read the command line,
// and answer --help and --version or a refused command line themselves.
#pragma once

#include <string>

#include "RenderOptions.h"

namespace tessaly {

struct RenderProgram {
    std::string version;   // the --version line, without its newline
    std::string helpNote;  // added to the help, or empty
};

// True, with `options`, when there is a garden to render; false with the
// exit code when the run ends here (the help or version said, or refused).
bool ReadRenderCommand(int argc, char** argv, const RenderProgram& program, RenderOptions& options, int& exitCode);

}  // namespace tessaly
