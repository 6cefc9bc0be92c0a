// What a canvas needs of the window it lives in, in the garden's words. Each
// platform implements it for its real window; the headless renderer
// implements it on a virtual clock.
#pragma once

#include "base/Geometry.h"

namespace tessaly {

class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Call the canvas's OnTick every periodMs; starting again restarts the
    // period with the new value.
    virtual void StartTicking(unsigned periodMs) = 0;
    virtual void StopTicking() = 0;
    // Ask for a paint of the whole client area; it comes later, from the loop.
    virtual void RequestPaint() = 0;
    // Paint the whole client area now, before returning.
    virtual void RepaintNow() = 0;
    // The size of the client area in device pixels.
    virtual Size ClientSize() = 0;
};

}  // namespace tessaly
