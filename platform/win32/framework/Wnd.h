// A window object bound to one HWND. Messages go through OnWndMsg, where each
// class consults its message table; unhandled messages get Default().
#pragma once

#include <windows.h>

namespace tessaly::win32 {

class Wnd {
public:
    Wnd() = default;
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }

    // Creates the window bound to this object; false when creation failed
    // (including a WM_CREATE handler that returned -1).
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu);

    // The object bound to a window of this process, or null.
    static Wnd* FromHandle(HWND hwnd);
    // The window procedure of every window class this layer registers.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Returns true when the message was handled; result is then its answer.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The default handling of the message being dispatched.
    virtual LRESULT Default();
    // Called after the window's last message; the HWND is gone by then.
    virtual void PostNcDestroy() {}

    // Binding for the window procedures of this layer (plain windows and dialogs).
    void Bind(HWND hwnd);
    void Unbind();
    // Runs OnWndMsg with the message as the current one; unhandled messages get
    // Default() when defaultWhenUnhandled is set.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool defaultWhenUnhandled,
                     bool& handled);
    // Tells the application that this window is gone (ends its loop when it was the main window).
    void WindowGone();

    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    const CurrentMessage& Current() const { return current_; }

private:
    HWND hwnd_ = nullptr;
    CurrentMessage current_;
};

}  // namespace tessaly::win32
