#include "app/Win32CanvasHost.h"

#include "app/Resources.h"
#include "framework/WinApp.h"
#include "gdi/Win32DrawingDevice.h"

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

}  // namespace

const MessageEntry<Win32CanvasHost> Win32CanvasHost::kMessages[] = {
    {WM_CREATE, &Win32CanvasHost::OnCreate},
    {WM_TIMER, &Win32CanvasHost::OnTimer},
    {WM_PAINT, &Win32CanvasHost::OnPaint},
    {WM_SIZE, &Win32CanvasHost::OnSize},
};

Win32CanvasHost::Win32CanvasHost(std::unique_ptr<CanvasWindow> canvas)
    : owned_(std::move(canvas)), canvas_(owned_.get()) {
    canvas_->AttachHost(this);
}

Win32CanvasHost::Win32CanvasHost(CanvasWindow& canvas) : canvas_(&canvas) { canvas_->AttachHost(this); }

Win32CanvasHost::~Win32CanvasHost() {
    if (canvas_ != nullptr) canvas_->AttachHost(nullptr);
}

bool Win32CanvasHost::CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) {
    // A window that fails in WM_CREATE is destroyed at once and goes through
    // PostNcDestroy, which may delete this object: the flag lives on the stack.
    bool gone = false;
    goneFlag_ = &gone;
    if (CreateEx(exStyle, CanvasClassName(), "", style, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, parent, nullptr)) {
        goneFlag_ = nullptr;
        return true;
    }
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
    return canvas_->OnCreate();
}

LRESULT Win32CanvasHost::OnTimer(WPARAM id, LPARAM) {
    if (id != kCanvasTimerId) return Default();
    canvas_->OnTick();
    return 0;
}

LRESULT Win32CanvasHost::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetSafeHwnd(), &ps);
    {
        Win32DrawingDevice device(dc);
        canvas_->OnPaint(device);
    }
    EndPaint(GetSafeHwnd(), &ps);
    return 0;
}

LRESULT Win32CanvasHost::OnSize(WPARAM, LPARAM) { return Default(); }

void Win32CanvasHost::PostNcDestroy() {
    if (goneFlag_ != nullptr) *goneFlag_ = true;
    goneFlag_ = nullptr;
    canvas_->AttachHost(nullptr);
    canvas_->OnWindowDestroyed();  // drains the queue and deletes the scene
    canvas_ = nullptr;
    // A window that owns its canvas ends with it: the object, then the canvas.
    if (owned_ != nullptr) delete this;
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

void Win32CanvasHost::RequestClose() { ::PostMessageA(GetSafeHwnd(), WM_CLOSE, 0, 0); }

}  // namespace tessaly::win32
