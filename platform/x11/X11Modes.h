// The three drawing modes on an X display: the full-screen saver, the preview
// child inside a host's window, and the XScreenSaver display mode that draws
// straight into the window it is given (or the root window).
#pragma once

#include "CommandLine.h"
#include "state/GardenState.h"

namespace tessaly {

// Opens the display, runs the mode of `commandLine` until it ends and returns
// the process's exit code: 0 for every normal end (a trigger, the window
// destroyed, SIGTERM), 1 when it could not start, with one line on stderr.
int RunDrawingMode(const CommandLine& commandLine, GardenState& state);

}  // namespace tessaly
