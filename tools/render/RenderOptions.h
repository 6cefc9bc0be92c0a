// The command line of tessaly-render.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "state/GardenState.h"

namespace tessaly {

enum class OutputFormat { Png, Pdf, Svg };

struct RenderOptions {
    int64_t ticks = 1400;                 // one default pass
    std::optional<uint32_t> seed;         // none: the current time
    int width = 1920;
    int height = 1080;
    // By row of kSettingRules; the ones without an option keep their default.
    std::array<int32_t, kSettingCount> settings = SettingDefaults();
    bool antialias = false;
    std::string background = "black";     // "black", "white" or a PNG file
    std::string output = "garden.png";
    OutputFormat format = OutputFormat::Png;
    std::string framesDir;                // empty: no frames
};

struct ParsedCommandLine {
    enum class Action { Render, Help, Version };
    Action action = Action::Render;
    RenderOptions options;
};

// The garden a render paints: the options' settings (the stored default
// speed), and the generator seeded with `seed`.
GardenState RenderGarden(const RenderOptions& options, uint32_t seed);

// False, with one line (without the program name) in `error`, for a command
// line the tool does not take.
bool ParseRenderOptions(const std::vector<std::string>& args, ParsedCommandLine& parsed, std::string& error);

// The format named by a file's extension (case does not matter).
std::optional<OutputFormat> FormatFromPath(const std::string& path);

extern const std::string kRenderUsage;

}  // namespace tessaly
