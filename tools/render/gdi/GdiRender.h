// tessaly-render.exe: the saver's canvas on a virtual clock, painted by real
// GDI into a memory bitmap and written as PNG (through GDI+). The options are
// those of the Linux tessaly-render; this build writes PNG only.
#pragma once

#include <cstdio>
#include <string>

#include "render/RenderOptions.h"

namespace tessaly::win32 {

// False, with the reason, for an option that only the Cairo build supports.
bool SupportedOnGdi(const RenderOptions& options, std::string& error);

// Runs the render, reporting the seed first and the written file last on
// `info`; false, with the reason, when the output could not be made.
bool RunGdiRender(const RenderOptions& options, std::FILE* info, std::string& error);

}  // namespace tessaly::win32
