#include "win32/app/Win32SaverHost.h"

#include <windowsx.h>

namespace tessaly::win32 {

namespace {
constexpr unsigned kScScreenSave = 0xF140;  // SC_SCREENSAVE
constexpr unsigned kScClose = 0xF060;       // SC_CLOSE
}  // namespace

bool SwallowsSysCommand(unsigned command) { return command == kScScreenSave || command == kScClose; }

const MessageEntry<Win32SaverHost> Win32SaverHost::kMessages[] = {
    {WM_SYSCOMMAND, &Win32SaverHost::OnSysCommand},
    {WM_DESTROY, &Win32SaverHost::OnDestroy},
    {WM_SETCURSOR, &Win32SaverHost::OnSetCursor},
    {WM_NCACTIVATE, &Win32SaverHost::OnNcActivate},
    {WM_ACTIVATE, &Win32SaverHost::OnActivate},
    {WM_ACTIVATEAPP, &Win32SaverHost::OnActivateApp},
    {WM_MOUSEMOVE, &Win32SaverHost::OnMouseMove},
    {WM_LBUTTONDOWN, &Win32SaverHost::OnButtonOrKeyDown},
    {WM_MBUTTONDOWN, &Win32SaverHost::OnButtonOrKeyDown},
    {WM_RBUTTONDOWN, &Win32SaverHost::OnButtonOrKeyDown},
    {WM_KEYDOWN, &Win32SaverHost::OnButtonOrKeyDown},
    {WM_SYSKEYDOWN, &Win32SaverHost::OnButtonOrKeyDown},
    {WM_POWERBROADCAST, &Win32SaverHost::OnPowerBroadcast},
};

Win32SaverHost::Win32SaverHost(SaverSession& session)
    : Win32CanvasHost(CanvasSource::Saver(session), WhenGone::DeleteThis) {}

bool Win32SaverHost::CreateFullScreen(const RECT& monitor, std::string& error) {
    if (!CreateCanvas(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, monitor, nullptr, error)) return false;
    displayWatch_.Start(GetSafeHwnd());
    return true;
}

bool Win32SaverHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           Win32CanvasHost::OnWndMsg(message, wParam, lParam, result);
}

LRESULT Win32SaverHost::OnSysCommand(WPARAM command, LPARAM) {
    if (SwallowsSysCommand(static_cast<unsigned>(command))) return 0;
    return Default();
}

LRESULT Win32SaverHost::OnDestroy(WPARAM, LPARAM) {
    displayWatch_.Stop();
    return Default();
}

LRESULT Win32SaverHost::OnSetCursor(WPARAM, LPARAM) {
    ::SetCursor(nullptr);
    return TRUE;
}

LRESULT Win32SaverHost::OnNcActivate(WPARAM active, LPARAM) {
    if (!active) return FALSE;
    return Default();
}

LRESULT Win32SaverHost::OnActivate(WPARAM state, LPARAM other) {
    // Each monitor's window takes the activation as it is created: only
    // activation going to another program is the user.
    DWORD process = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(other), &process);
    if (LOWORD(state) == WA_INACTIVE && (other == 0 || process != GetCurrentProcessId()) && Saver() != nullptr)
        Saver()->OnDeactivate();
    return Default();
}

LRESULT Win32SaverHost::OnActivateApp(WPARAM active, LPARAM) {
    if (!active && Saver() != nullptr) Saver()->OnDeactivate();
    return Default();
}

LRESULT Win32SaverHost::OnMouseMove(WPARAM, LPARAM position) {
    POINT onScreen{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(GetSafeHwnd(), &onScreen);
    if (Saver() != nullptr) Saver()->OnMouseMove(onScreen.x, onScreen.y);
    return Default();
}

LRESULT Win32SaverHost::OnButtonOrKeyDown(WPARAM, LPARAM) {
    if (Saver() != nullptr) Saver()->OnButtonOrKeyDown();
    return Default();
}

LRESULT Win32SaverHost::OnPowerBroadcast(WPARAM event, LPARAM setting) {
    const DisplayState display = ReadDisplayState(event, setting);
    if (display == DisplayState::Unrelated) return Default();
    if (Saver() != nullptr) Saver()->SetVisible(display == DisplayState::Seen);
    return TRUE;
}

}  // namespace tessaly::win32
