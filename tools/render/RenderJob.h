// One run of tessaly-render: prepares the background and the output, runs
// the canvas for the given ticks against a headless host and writes the file.
#pragma once

#include <cstdio>
#include <string>

#include "RenderOptions.h"

namespace tessaly {

constexpr int kExitOk = 0;
constexpr int kExitIoError = 1;
constexpr int kExitUsage = 2;

struct RenderResult {
    int exitCode = kExitOk;
    std::string error;       // one line when exitCode != 0
    uint32_t seed = 0;
    long long paints = 0;
};

// `info` receives the seed line first and the finished file's path last.
RenderResult RunRender(const RenderOptions& options, std::FILE* info, bool showProgress);

}  // namespace tessaly
