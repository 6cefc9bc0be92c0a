// The three drawing modes on an X display: the full-screen saver, the preview
// child inside a host's window, and the XScreenSaver display mode that draws
// straight into the window it is given (or the root window).
#pragma once

#include "CommandLine.h"
#include "state/GardenState.h"

namespace tessaly {

struct DrawingEnd {
    int exitCode = 1;  // 0 for every normal end, 1 when it could not start (one line on stderr)
    int signal = 0;    // the signal (SIGTERM, SIGINT, SIGHUP) that ended it, else 0
};

// Opens the display, runs the mode of `commandLine` until it ends, tears
// everything down and says how it ended. A signal's end is orderly too; the
// caller then ends the process by that signal.
DrawingEnd RunDrawingMode(const CommandLine& commandLine, GardenState& state);

}  // namespace tessaly
