#include "win32/gdi/Win32DrawingDevice.h"

#include <cstddef>

namespace tessaly::win32 {

// The core's points are laid out exactly like POINT, so point arrays go to GDI as they are.
static_assert(sizeof(Point) == sizeof(POINT) && offsetof(Point, x) == offsetof(POINT, x) &&
                  offsetof(Point, y) == offsetof(POINT, y),
              "Point must match POINT");

Win32DrawingDevice::~Win32DrawingDevice() {
    if (originalPen_ != nullptr) ::SelectObject(dc_, originalPen_);
    if (originalBrush_ != nullptr) ::SelectObject(dc_, originalBrush_);
}

GdiHandle Win32DrawingDevice::SelectObject(GdiHandle object) {
    if (object == nullptr) return nullptr;
    HGDIOBJ previous = ::SelectObject(dc_, static_cast<HGDIOBJ>(object));
    const DWORD type = GetObjectType(static_cast<HGDIOBJ>(object));
    if (type == OBJ_PEN && originalPen_ == nullptr) originalPen_ = previous;
    if (type == OBJ_BRUSH && originalBrush_ == nullptr) originalBrush_ = previous;
    return previous;
}

void Win32DrawingDevice::SetMapModeAnisotropic() { ::SetMapMode(dc_, MM_ANISOTROPIC); }

void Win32DrawingDevice::SetWindowExt(int cx, int cy) { ::SetWindowExtEx(dc_, cx, cy, nullptr); }

void Win32DrawingDevice::SetViewportExt(int cx, int cy) {
    ::SetViewportExtEx(dc_, cx, cy, nullptr);
}

void Win32DrawingDevice::SetViewportOrg(int x, int y) { ::SetViewportOrgEx(dc_, x, y, nullptr); }

bool Win32DrawingDevice::Polygon(const Point* points, int count) {
    return ::Polygon(dc_, reinterpret_cast<const POINT*>(points), count) != FALSE;
}

bool Win32DrawingDevice::Polyline(const Point* points, int count) {
    return ::Polyline(dc_, reinterpret_cast<const POINT*>(points), count) != FALSE;
}

bool Win32DrawingDevice::Ellipse(int left, int top, int right, int bottom) {
    return ::Ellipse(dc_, left, top, right, bottom) != FALSE;
}

}  // namespace tessaly::win32
