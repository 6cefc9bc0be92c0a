// The saver's canvas: covers the screen and ends on the first sign of the
// user. The platform translates its input events into these calls; every
// trigger asks the host to close the window.
#pragma once

#include "canvas/CanvasWindow.h"

namespace tessaly {

class FullScreenWindow : public CanvasWindow {
public:
    FullScreenWindow(GardenState& state, GdiObjects& objects);
    ~FullScreenWindow() override;

    // Mouse rule: the first move records the point, any later move elsewhere closes.
    void OnMouseMove(int x, int y);
    // A button (not the wheel) or a key went down.
    void OnButtonOrKeyDown();
    // Another program took the focus.
    void OnDeactivate();

    Point LastMousePoint() const { return lastMousePoint; }

protected:
    Point lastMousePoint{-1, -1};
};

}  // namespace tessaly
