// The saver's canvas: covers a monitor and ends on the first sign of the
// user. The platform translates its input events into these calls; every
// trigger asks the host to close the window.
#pragma once

#include "canvas/CanvasWindow.h"

namespace tessaly {

// What the full-screen canvases of one run share: one first pointer
// position, in the layout's coordinates, and the one end that a trigger on
// any of them brings.
class SaverRun {
public:
    virtual ~SaverRun() = default;
    virtual Point& FirstMousePoint() = 0;
    // The user is back: the run ends after the event being handled.
    virtual void Close() = 0;
};

class FullScreenWindow : public CanvasWindow {
public:
    // One canvas of a run: its triggers end the run. A saver with one window
    // per monitor gives all of them the run's one first point and the
    // layout's coordinates, so a move is judged alike on whichever window it
    // arrives.
    FullScreenWindow(GardenState& state, GdiObjects& objects, SaverRun& run);
    ~FullScreenWindow() override;

    // Mouse rule: the first move records the point, any later move elsewhere closes.
    void OnMouseMove(int x, int y);
    // A button (not the wheel) or a key went down.
    void OnButtonOrKeyDown();
    // Another program took the focus.
    void OnDeactivate();

private:
    SaverRun& run_;
};

}  // namespace tessaly
