// The saver's window: a topmost canvas over the whole screen that hides the
// pointer and turns the user's input into the core's closing rules.
#pragma once

#include "app/CanvasWnd.h"
#include "canvas/FullScreenWindow.h"

namespace tessaly::win32 {

class FullScreenWnd : public CanvasWnd {
public:
    // Takes the full-screen canvas made with new; both go when the window goes.
    explicit FullScreenWnd(FullScreenWindow& window);

    // A topmost popup of the primary screen's size; false when it could not be made.
    bool CreateFullScreen();

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
