#include "win32/framework/Wnd.h"

#include "win32/framework/WinApp.h"

namespace tessaly::win32 {

namespace {

constexpr const char* kBindingProperty = "TessalyWnd";
// The object whose window CreateEx is making: bound at the window's first message.
thread_local Wnd* creatingWindow = nullptr;

}  // namespace

Wnd::~Wnd() {
    // An object that dies with its window still there leaves the window unbound.
    if (hwnd_ != nullptr) RemovePropA(hwnd_, kBindingProperty);
}

Wnd* Wnd::FromHandle(HWND hwnd) {
    return hwnd == nullptr ? nullptr : static_cast<Wnd*>(GetPropA(hwnd, kBindingProperty));
}

void Wnd::Bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, kBindingProperty, this);
}

void Wnd::Unbind() {
    if (hwnd_ != nullptr) RemovePropA(hwnd_, kBindingProperty);
    hwnd_ = nullptr;
}

bool Wnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                   int y, int width, int height, HWND parent, HMENU menu) {
    Wnd* const outer = creatingWindow;
    creatingWindow = this;
    HWND hwnd = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                menu, WinApp::Current()->Instance(), nullptr);
    creatingWindow = outer;
    return hwnd != nullptr;
}

bool Wnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Wnd::Default() {
    return DefWindowProcA(hwnd_, current_.message, current_.wParam, current_.lParam);
}

LRESULT Wnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool defaultWhenUnhandled,
                      bool& handled) {
    const CurrentMessage outer = current_;
    current_ = CurrentMessage{message, wParam, lParam};
    LRESULT result = 0;
    handled = OnWndMsg(message, wParam, lParam, result);
    if (!handled && defaultWhenUnhandled) result = Default();
    current_ = outer;
    return result;
}

void Wnd::WindowGone() {
    WinApp* app = WinApp::Current();
    if (app->MainWindow() == this) {
        // The application's main window is gone: the message loop ends.
        PostQuitMessage(0);
        app->SetMainWindow(nullptr);
    }
}

LRESULT CALLBACK Wnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Wnd* self = FromHandle(hwnd);
    if (self == nullptr && creatingWindow != nullptr) {
        self = creatingWindow;
        creatingWindow = nullptr;
        self->Bind(hwnd);
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);

    bool handled = false;
    const LRESULT result = self->Dispatch(message, wParam, lParam, true, handled);
    if (message == WM_NCDESTROY) {
        self->Unbind();
        self->WindowGone();
        self->PostNcDestroy();  // may delete the object
    }
    return result;
}

}  // namespace tessaly::win32
