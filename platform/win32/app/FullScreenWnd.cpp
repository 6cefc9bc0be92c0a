#include "app/FullScreenWnd.h"

#include <windowsx.h>

namespace tessaly::win32 {

const MessageEntry<FullScreenWnd> FullScreenWnd::kMessages[] = {
    {WM_SYSCOMMAND, &FullScreenWnd::OnSysCommand},
    {WM_DESTROY, &FullScreenWnd::OnDestroy},
    {WM_SETCURSOR, &FullScreenWnd::OnSetCursor},
    {WM_NCACTIVATE, &FullScreenWnd::OnNcActivate},
    {WM_ACTIVATE, &FullScreenWnd::OnActivate},
    {WM_ACTIVATEAPP, &FullScreenWnd::OnActivateApp},
    {WM_MOUSEMOVE, &FullScreenWnd::OnMouseMove},
    {WM_LBUTTONDOWN, &FullScreenWnd::OnButtonOrKeyDown},
    {WM_MBUTTONDOWN, &FullScreenWnd::OnButtonOrKeyDown},
    {WM_RBUTTONDOWN, &FullScreenWnd::OnButtonOrKeyDown},
    {WM_KEYDOWN, &FullScreenWnd::OnButtonOrKeyDown},
    {WM_SYSKEYDOWN, &FullScreenWnd::OnButtonOrKeyDown},
};

FullScreenWnd::FullScreenWnd(FullScreenWindow& window) : CanvasWnd(window, true), window_(&window) {}

bool FullScreenWnd::CreateFullScreen(const RECT& monitor) {
    return CreateCanvas(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, monitor, nullptr);
}

bool FullScreenWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           CanvasWnd::OnWndMsg(message, wParam, lParam, result);
}

LRESULT FullScreenWnd::OnSysCommand(WPARAM command, LPARAM) {
    if (window_->OnSysCommand(static_cast<unsigned>(command))) return 0;
    return Default();
}

LRESULT FullScreenWnd::OnDestroy(WPARAM, LPARAM) {
    PostQuitMessage(0);
    return Default();
}

LRESULT FullScreenWnd::OnSetCursor(WPARAM, LPARAM) {
    ::SetCursor(nullptr);
    return TRUE;
}

LRESULT FullScreenWnd::OnNcActivate(WPARAM active, LPARAM) {
    if (!active) return FALSE;
    return Default();
}

LRESULT FullScreenWnd::OnActivate(WPARAM state, LPARAM other) {
    // Each monitor's window takes the activation as it is created: only
    // activation going to another program is the user.
    DWORD process = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(other), &process);
    if (LOWORD(state) == WA_INACTIVE && (other == 0 || process != GetCurrentProcessId())) window_->OnDeactivate();
    return Default();
}

LRESULT FullScreenWnd::OnActivateApp(WPARAM active, LPARAM) {
    if (!active) window_->OnDeactivate();
    return Default();
}

LRESULT FullScreenWnd::OnMouseMove(WPARAM, LPARAM position) {
    POINT onScreen{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(GetSafeHwnd(), &onScreen);
    window_->OnMouseMove(onScreen.x, onScreen.y);
    return Default();
}

LRESULT FullScreenWnd::OnButtonOrKeyDown(WPARAM, LPARAM) {
    window_->OnButtonOrKeyDown();
    return Default();
}

}  // namespace tessaly::win32
