#include "win32/app/Win32CanvasHost.h"

#include "win32/app/Resources.h"
#include "win32/framework/SystemError.h"
#include "win32/framework/WinApp.h"
#include "win32/gdi/Win32DrawingDevice.h"

namespace tessaly::win32 {

namespace {

// Registered by the first canvas of the process and reused by every later one.
const char* CanvasClassName() {
    static const char* name = [] {
        static const char kName[] = "TessalyCanvas";
        HINSTANCE instance = WinApp::Current()->Instance();
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &Wnd::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kInvisibleCursorId));
        wc.hbrBackground = nullptr;  // nothing ever erases a canvas
        wc.lpszClassName = kName;
        RegisterClassA(&wc);
        return kName;
    }();
    return name;
}

// A window of the run that goes ends the run; after its end nothing changes.
void LetGo(SaverSession& session, WindowHost& host) {
    session.Remove(host);
    session.WindowGone();
}

}  // namespace

CanvasSource CanvasSource::Saver(SaverSession& session) {
    CanvasSource source;
    source.bind_ = [&session](WindowHost& host) -> CanvasWindow& { return session.AddSaverCanvas(host); };
    source.unbind_ = [&session](WindowHost& host) { LetGo(session, host); };
    return source;
}

CanvasSource CanvasSource::Preview(SaverSession& session) {
    CanvasSource source;
    source.bind_ = [&session](WindowHost& host) -> CanvasWindow& { return session.AddCanvas(host); };
    source.unbind_ = [&session](WindowHost& host) { LetGo(session, host); };
    return source;
}

CanvasSource CanvasSource::Borrowed(CanvasBinding& binding) {
    CanvasSource source;
    source.bind_ = [&binding](WindowHost& host) -> CanvasWindow& {
        binding.Bind(host);
        return binding.Canvas();
    };
    source.unbind_ = [&binding](WindowHost&) { binding.Unbind(); };
    return source;
}

const MessageEntry<Win32CanvasHost> Win32CanvasHost::kMessages[] = {
    {WM_CREATE, &Win32CanvasHost::OnCreate},
    {WM_TIMER, &Win32CanvasHost::OnTimer},
    {WM_PAINT, &Win32CanvasHost::OnPaint},
};

Win32CanvasHost::Win32CanvasHost(CanvasSource source, WhenGone whenGone)
    : source_(std::move(source)), whenGone_(whenGone) {}

bool Win32CanvasHost::CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, std::string& error) {
    // A window that fails in WM_CREATE is destroyed at once and goes through
    // PostNcDestroy, which may delete this object: the flag lives on the stack.
    bool gone = false;
    goneFlag_ = &gone;
    if (CreateEx(exStyle, CanvasClassName(), "", style, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, parent, nullptr)) {
        goneFlag_ = nullptr;
        return true;
    }
    error = SystemErrorText(GetLastError());  // before this object may go
    if (!gone) {
        goneFlag_ = nullptr;
        PostNcDestroy();  // no window ever existed: end as if it had gone
    }
    return false;
}

bool Win32CanvasHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           Wnd::OnWndMsg(message, wParam, lParam, result);
}

LRESULT Win32CanvasHost::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    canvas_ = &source_.Bind(*this);
    return 0;
}

LRESULT Win32CanvasHost::OnTimer(WPARAM id, LPARAM) {
    if (id != kCanvasTimerId || canvas_ == nullptr) return Default();
    canvas_->OnTick();
    return 0;
}

LRESULT Win32CanvasHost::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetSafeHwnd(), &ps);
    if (canvas_ != nullptr) {
        Win32DrawingDevice device(dc);
        canvas_->OnPaint(device);
    }
    EndPaint(GetSafeHwnd(), &ps);
    return 0;
}

void Win32CanvasHost::PostNcDestroy() {
    if (goneFlag_ != nullptr) *goneFlag_ = true;
    goneFlag_ = nullptr;
    // The canvas drains its queue and deletes its scene; then, for a window
    // made with new, the object goes too.
    if (canvas_ != nullptr) source_.Unbind(*this);
    canvas_ = nullptr;
    if (whenGone_ == WhenGone::DeleteThis) delete this;
}

void Win32CanvasHost::StartTicking(unsigned periodMs) { ::SetTimer(GetSafeHwnd(), kCanvasTimerId, periodMs, nullptr); }

void Win32CanvasHost::StopTicking() { ::KillTimer(GetSafeHwnd(), kCanvasTimerId); }

void Win32CanvasHost::RequestPaint() { ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE); }

void Win32CanvasHost::RepaintNow() {
    // Erasing draws nothing (the class has no background brush); it only
    // makes the paint cover the whole client area at once.
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    ::UpdateWindow(GetSafeHwnd());
}

Size Win32CanvasHost::ClientSize() {
    RECT rc{};
    ::GetClientRect(GetSafeHwnd(), &rc);
    return Size{rc.right, rc.bottom};
}

}  // namespace tessaly::win32
