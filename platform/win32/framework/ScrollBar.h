// A scroll bar control attached to an existing HWND (a dialog's control).
#pragma once

#include <windows.h>

namespace tessaly::win32 {

class ScrollBar {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND GetSafeHwnd() const { return hwnd_; }

    // The control keeps the position inside its own range.
    int SetScrollPos(int position, bool redraw = true) {
        return ::SetScrollPos(hwnd_, SB_CTL, position, redraw ? TRUE : FALSE);
    }
    void SetScrollRange(int min, int max, bool redraw = true) {
        ::SetScrollRange(hwnd_, SB_CTL, min, max, redraw ? TRUE : FALSE);
    }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace tessaly::win32
