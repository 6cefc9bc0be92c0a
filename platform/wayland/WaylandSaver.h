// tessaly /s in a Wayland session: a garden on every output until the user
// comes back or a signal asks it to stop.
#pragma once

#include "X11Modes.h"
#include "state/GardenState.h"

namespace tessaly {

// Runs the saver on the compositor named by WAYLAND_DISPLAY until it ends,
// tears everything down and says how it ended, as the X11 drawing modes do:
// exit code 0 after a trigger, 1 when it could not start (one line on
// stderr), or the signal (SIGTERM, SIGINT, SIGHUP) by which the caller then
// ends the process.
DrawingEnd RunWaylandSaver(GardenState& state);

}  // namespace tessaly
