// What the canvas needs of the window it lives in. Each platform implements it
// for its real window; the headless renderer implements it on a virtual clock.
#pragma once

#include "base/Geometry.h"

namespace tessaly {

class WindowHost {
public:
    virtual ~WindowHost() = default;
    // One periodic timer per id; setting it again restarts it with the new period.
    virtual void SetTimer(int id, unsigned periodMs) = 0;
    virtual void KillTimer(int id) = 0;
    // The whole client area; erase asks for the background to be cleared first.
    virtual void InvalidateRect(bool erase) = 0;
    // Paint now if anything is invalid.
    virtual void UpdateWindow() = 0;
    virtual Rect GetClientRect() = 0;
    // Post WM_CLOSE to the window: handled later by the loop, after the current message.
    virtual void PostClose() = 0;
};

}  // namespace tessaly
