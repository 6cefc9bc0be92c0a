// The saver's window: a topmost canvas over one monitor that hides the
// pointer and turns the user's input into the core's closing rules. A saver
// has one per monitor; moves are given in screen coordinates, so that all of
// them judge against one first point.
#pragma once

#include "app/CanvasWnd.h"
#include "canvas/FullScreenWindow.h"

namespace tessaly::win32 {

class FullScreenWnd : public CanvasWnd {
public:
    // Takes the full-screen canvas made with new; both go when the window goes.
    explicit FullScreenWnd(FullScreenWindow& window);

    // A topmost popup over `monitor` (virtual-screen coordinates, which may
    // be negative); false when it could not be made.
    bool CreateFullScreen(const RECT& monitor);

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnNcActivate(WPARAM, LPARAM);
    LRESULT OnActivate(WPARAM, LPARAM);
    LRESULT OnActivateApp(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnButtonOrKeyDown(WPARAM, LPARAM);

    static const MessageEntry<FullScreenWnd> kMessages[];
    FullScreenWindow* window_;
};

}  // namespace tessaly::win32
