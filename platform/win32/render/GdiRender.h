// tessaly-render.exe: the saver's canvas on a virtual clock, painted by real
// GDI into a memory bitmap and written as PNG (through GDI+). The options are
// those of the Linux tessaly-render; this build writes PNG only.
#pragma once

#include <cstdio>
#include <string>

#include "RenderOptions.h"

namespace tessaly::win32 {

// An option that only the Cairo build supports; empty when all is well.
std::string UnsupportedOnGdi(const RenderOptions& options);

// Runs the render; returns the exit code (0 done, 1 output failed) and
// reports the seed first and the written file last on `info`.
int RunGdiRender(const RenderOptions& options, std::FILE* info, std::string& error);

}  // namespace tessaly::win32
