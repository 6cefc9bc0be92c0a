// Built when GTK 3 or gtk-layer-shell was missing at configure time.
#include <cstdio>

#include "WaylandSaver.h"

namespace tessaly {

DrawingEnd RunWaylandSaver(GardenState&) {
    std::fputs("tessaly: this tessaly was built without Wayland support (GTK 3 and gtk-layer-shell); "
               "use --backend x11 under XWayland\n",
               stderr);
    return DrawingEnd{1, 0};
}

}  // namespace tessaly
