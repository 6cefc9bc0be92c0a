// Built when the Wayland client libraries were missing at configure time.
#include "linux/Run.h"

namespace tessaly {

bool RunOnWayland(const CommandLine&, GardenState&, const Warn&, DrawingEnd&, std::string& error) {
    error = "this tessaly was built without Wayland support (libwayland-client, wayland-protocols and wayland-scanner); use --backend x11 under XWayland";
    return false;
}

}  // namespace tessaly
