// The console display's state, as the power manager tells it to a window
// that asked for it: WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE and the
// setting GUID_CONSOLE_DISPLAY_STATE (0 off, 1 on, 2 dimmed). The saver
// stops painting while the display is off.
#pragma once

#include <windows.h>

namespace tessaly::win32 {

// What a WM_POWERBROADCAST says of the display.
enum class DisplayState { Unrelated, Off, Seen };  // Seen: on or dimmed

DisplayState ReadDisplayState(WPARAM event, LPARAM setting);

// One window's registration for the display's state. The call is in USER32
// since Vista and looked up at run time: where it is missing or refuses,
// the window is simply never told and paints on as before.
class DisplayStateWatch {
public:
    DisplayStateWatch() = default;
    ~DisplayStateWatch() { Stop(); }
    DisplayStateWatch(const DisplayStateWatch&) = delete;
    DisplayStateWatch& operator=(const DisplayStateWatch&) = delete;

    // The system tells `window` the current state at once, then every change.
    void Start(HWND window);
    void Stop();

private:
    HANDLE registration_ = nullptr;  // an HPOWERNOTIFY
};

}  // namespace tessaly::win32
