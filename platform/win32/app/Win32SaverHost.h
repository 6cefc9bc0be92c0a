// The saver's window: a topmost canvas over one monitor that hides the
// pointer and turns the user's input into the core's closing rules. A saver
// has one per monitor, each a canvas of the run's session; moves are given
// in screen coordinates, so that all of them judge against one first point.
// While the display is off it stops ticking; the garden grows on where it
// was once the display is seen again.
#pragma once

#include "win32/app/DisplayStateWatch.h"
#include "win32/app/Win32CanvasHost.h"
#include "canvas/FullScreenWindow.h"

namespace tessaly::win32 {

// The system commands the saver refuses: starting a saver (SC_SCREENSAVE)
// and closing it (SC_CLOSE), compared whole, low four bits included, as the
// window receives them.
bool SwallowsSysCommand(unsigned command);

class Win32SaverHost : public Win32CanvasHost {
public:
    // Made with new; it goes when its window goes, and its canvas with it.
    explicit Win32SaverHost(SaverSession& session);

    // A topmost popup over `monitor` (virtual-screen coordinates, which may
    // be negative); false, with the system's reason, when it could not be made.
    bool CreateFullScreen(const RECT& monitor, std::string& error);

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
    LRESULT OnPowerBroadcast(WPARAM, LPARAM);

    // The canvas, which the session made full-screen; null while there is no window.
    FullScreenWindow* Saver() const { return static_cast<FullScreenWindow*>(Canvas()); }

    static const MessageEntry<Win32SaverHost> kMessages[];
    DisplayStateWatch displayWatch_;
};

}  // namespace tessaly::win32
