// The saver's canvas: covers a monitor and ends on the first sign of the
// user. The platform translates its input events into these calls; every
// trigger posts a close through the host.
#pragma once

#include "canvas/CanvasWindow.h"

namespace tessaly {

constexpr unsigned kScScreenSave = 0xF140;  // SC_SCREENSAVE
constexpr unsigned kScClose = 0xF060;       // SC_CLOSE

class FullScreenWindow : public CanvasWindow {
public:
    // A saver with one window per monitor gives all of them one first point
    // (`sharedMousePoint`, owned by the caller, starting at (-1, -1)) and
    // screen coordinates, so a move is judged alike on whichever window it
    // arrives. Null: the window keeps its own point.
    explicit FullScreenWindow(GdiObjects& objects, Point* sharedMousePoint = nullptr);
    ~FullScreenWindow() override;

    // Mouse rule: the first move records the point, any later move elsewhere closes.
    void OnMouseMove(int x, int y);
    // Button down (left, middle, right), key down, system key down.
    void OnButtonOrKeyDown();
    // WM_ACTIVATE with WA_INACTIVE, WM_ACTIVATEAPP with FALSE.
    void OnDeactivate();
    // WM_SYSCOMMAND: true when the command is swallowed (SC_SCREENSAVE, SC_CLOSE exactly).
    bool OnSysCommand(unsigned command) const;

    Point LastMousePoint() const { return *mousePoint_; }

protected:
    Point lastMousePoint{-1, -1};

private:
    Point* mousePoint_;  // lastMousePoint, or the point shared with the other monitors' windows
};

}  // namespace tessaly
