// The saver's canvas: covers the screen and ends on the first sign of the
// user. The platform translates its input events into these calls; every
// trigger posts a close through the host.
#pragma once

#include "canvas/CanvasWindow.h"

namespace tessaly {

constexpr unsigned kScScreenSave = 0xF140;  // SC_SCREENSAVE
constexpr unsigned kScClose = 0xF060;       // SC_CLOSE

class FullScreenWindow : public CanvasWindow {
public:
    explicit FullScreenWindow(GdiObjects& objects);
    ~FullScreenWindow() override;

    // Mouse rule: the first move records the point, any later move elsewhere closes.
    void OnMouseMove(int x, int y);
    // Button down (left, middle, right), key down, system key down.
    void OnButtonOrKeyDown();
    // WM_ACTIVATE with WA_INACTIVE, WM_ACTIVATEAPP with FALSE.
    void OnDeactivate();
    // WM_SYSCOMMAND: true when the command is swallowed (SC_SCREENSAVE, SC_CLOSE exactly).
    bool OnSysCommand(unsigned command) const;

    Point LastMousePoint() const { return lastMousePoint; }

protected:
    Point lastMousePoint{-1, -1};
};

}  // namespace tessaly
