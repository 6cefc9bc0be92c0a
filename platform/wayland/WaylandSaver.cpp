// tessaly /s and tessaly --wallpaper in a Wayland session.
#include <cstdlib>

#include "linux/Run.h"
#include "linux/SignalPipe.h"
#include "WaylandRun.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

bool RunOnWayland(const CommandLine& commandLine, GardenState& state, const Warn& warn, DrawingEnd& end,
                  std::string& error) {
    SignalPipe signals;  // first: a SIGTERM during start-up still ends cleanly
    RunOptions options;
    options.wallpaper = commandLine.mode == LinuxMode::Wallpaper;
    options.stats = commandLine.stats;
    // A lock screen that runs one wallpaper per output names the output.
    if (const char* name = std::getenv("SWAYLOCK_PLUGIN_OUTPUT_NAME"); options.wallpaper && name != nullptr)
        options.onlyOutput = name;
    PortableGdiObjects objects;  // outlives the canvases, which release their brushes into it
    WaylandRun run(state, objects, options, warn);
    if (!run.Start(error) || !run.Loop(signals, error)) return false;
    end = run.End();
    return true;
}

}  // namespace tessaly
