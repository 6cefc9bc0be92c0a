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

bool FullScreenWnd::CreateFullScreen() {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return CreateCanvas(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, screen, nullptr);
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

LRESULT FullScreenWnd::OnActivate(WPARAM state, LPARAM) {
    if (LOWORD(state) == WA_INACTIVE) window_->OnDeactivate();
    return Default();
}

LRESULT FullScreenWnd::OnActivateApp(WPARAM active, LPARAM) {
    if (!active) window_->OnDeactivate();
    return Default();
}

LRESULT FullScreenWnd::OnMouseMove(WPARAM, LPARAM position) {
    window_->OnMouseMove(GET_X_LPARAM(position), GET_Y_LPARAM(position));
    return Default();
}

LRESULT FullScreenWnd::OnButtonOrKeyDown(WPARAM, LPARAM) {
    window_->OnButtonOrKeyDown();
    return Default();
}

}  // namespace tessaly::win32
