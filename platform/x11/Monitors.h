// The monitors of an X screen, as root-window rectangles: RandR 1.5
// monitors, else Xinerama heads, else the whole screen.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "base/Geometry.h"

namespace tessaly {

// Never empty. Each rectangle is clipped to the root window; empty and
// repeated ones (mirrored outputs) are left out.
std::vector<Rect> QueryMonitors(Display* display);

// The same choice on lists already read, so it can be tested without a
// server: `randr` and `xinerama` are empty when the extension is missing.
std::vector<Rect> ChooseMonitors(const std::vector<Rect>& randr, const std::vector<Rect>& xinerama, int rootWidth,
                                 int rootHeight);

}  // namespace tessaly
