// How a run of the Linux program ends, and the two display backends that
// run its drawing modes: each backend's folder provides its entry point, and
// `main` turns what it returns into the process's end.
#pragma once

#include <functional>
#include <string>

#include "CommandLine.h"
#include "state/GardenState.h"

namespace tessaly {

// How a drawing mode that ran ended: by its own trigger, or by a signal.
struct DrawingEnd {
    int signal = 0;  // the signal (SIGTERM, SIGINT, SIGHUP) that ended it, else 0
};

// One line for the user that does not end the run (a fallback taken, a grab
// that failed); `main` says it.
using Warn = std::function<void(const std::string& line)>;

// The drawing modes on an X display (platform/x11): opens the display, runs
// the mode of `commandLine` until it ends, tears everything down and says how
// it ended. False, with the reason in `error`, when it could not start or
// its loop failed.
bool RunOnX11(const CommandLine& commandLine, GardenState& state, const Warn& warn, DrawingEnd& end,
              std::string& error);
// The saver on every output of a Wayland compositor (platform/wayland).
bool RunOnWayland(const CommandLine& commandLine, GardenState& state, const Warn& warn, DrawingEnd& end,
                  std::string& error);

}  // namespace tessaly
