// tessaly /s in a Wayland session: a garden on every output until the user
// comes back or a signal asks it to stop.
#pragma once

#include "state/GardenState.h"

namespace tessaly {

// Runs the saver on the compositor named by WAYLAND_DISPLAY and returns the
// process's exit code: 0 after a trigger, 1 when it could not start (one
// line on stderr). After SIGTERM, SIGINT or SIGHUP it tears everything down
// and then ends by that same signal, as the X11 saver does.
int RunWaylandSaver(GardenState& state);

}  // namespace tessaly
