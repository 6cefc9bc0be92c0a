// One run of tessaly-render: prepares the background and the output, runs
// the canvas for the given ticks against a headless host and writes the file.
#pragma once

#include <cstdio>
#include <string>

#include "RenderOptions.h"

namespace tessaly {

// `info` receives the seed line first and the finished file's path last.
// False, with the reason in `error` (one line), when a file could not be read
// or written; nothing is left behind then.
bool RunRender(const RenderOptions& options, std::FILE* info, bool showProgress, std::string& error);

}  // namespace tessaly
