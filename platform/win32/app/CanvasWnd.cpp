#include "app/CanvasWnd.h"

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

const MessageEntry<CanvasWnd> CanvasWnd::kMessages[] = {
    {WM_CREATE, &CanvasWnd::OnCreate},
    {WM_TIMER, &CanvasWnd::OnTimer},
    {WM_PAINT, &CanvasWnd::OnPaint},
    {WM_SIZE, &CanvasWnd::OnSize},
};

CanvasWnd::CanvasWnd(CanvasWindow& canvas, bool deleteWhenGone)
    : canvas_(&canvas), deleteWhenGone_(deleteWhenGone) {
    canvas_->AttachHost(this);
}

CanvasWnd::~CanvasWnd() {
    if (canvas_ != nullptr) canvas_->AttachHost(nullptr);
}

bool CanvasWnd::CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent) {
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

bool CanvasWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           Wnd::OnWndMsg(message, wParam, lParam, result);
}

LRESULT CanvasWnd::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) return -1;
    return canvas_->OnCreate();
}

LRESULT CanvasWnd::OnTimer(WPARAM id, LPARAM) {
    if (!canvas_->OnTimer(id)) return Default();
    return 0;
}

LRESULT CanvasWnd::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(GetSafeHwnd(), &ps);
    {
        Win32DrawingDevice device(dc);
        canvas_->OnPaint(device);
    }
    EndPaint(GetSafeHwnd(), &ps);
    return 0;
}

LRESULT CanvasWnd::OnSize(WPARAM, LPARAM) { return Default(); }

void CanvasWnd::PostNcDestroy() {
    if (goneFlag_ != nullptr) *goneFlag_ = true;
    goneFlag_ = nullptr;
    CanvasWindow* canvas = canvas_;
    canvas_->AttachHost(nullptr);
    canvas_ = nullptr;
    const bool deleteSelf = deleteWhenGone_;
    canvas->PostNcDestroy();  // drains the queue, deletes the scene, maybe the canvas itself
    if (deleteSelf) delete this;
}

void CanvasWnd::SetTimer(int id, unsigned periodMs) {
    ::SetTimer(GetSafeHwnd(), static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void CanvasWnd::KillTimer(int id) { ::KillTimer(GetSafeHwnd(), static_cast<UINT_PTR>(id)); }

void CanvasWnd::InvalidateRect(bool erase) {
    ::InvalidateRect(GetSafeHwnd(), nullptr, erase ? TRUE : FALSE);
}

void CanvasWnd::UpdateWindow() { ::UpdateWindow(GetSafeHwnd()); }

Rect CanvasWnd::GetClientRect() {
    RECT rc{};
    ::GetClientRect(GetSafeHwnd(), &rc);
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

void CanvasWnd::PostClose() { ::PostMessageA(GetSafeHwnd(), WM_CLOSE, 0, 0); }

}  // namespace tessaly::win32
