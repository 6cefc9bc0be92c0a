// The core's drawing device over a real device context. It puts back the pen
// and brush the context had when it is done, so that no brush the canvas
// later deletes is left selected in a released context.
#pragma once

#include <windows.h>

#include "device/DrawingDevice.h"

namespace tessaly::win32 {

class Win32DrawingDevice final : public DrawingDevice {
public:
    explicit Win32DrawingDevice(HDC dc) : dc_(dc) {}
    ~Win32DrawingDevice() override;
    Win32DrawingDevice(const Win32DrawingDevice&) = delete;
    Win32DrawingDevice& operator=(const Win32DrawingDevice&) = delete;

    GdiHandle SelectObject(GdiHandle object) override;
    void SetMapModeAnisotropic() override;
    void SetWindowExt(int cx, int cy) override;
    void SetViewportExt(int cx, int cy) override;
    void SetViewportOrg(int x, int y) override;
    bool Polygon(const Point* points, int count) override;
    bool Polyline(const Point* points, int count) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

private:
    HDC dc_;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
};

}  // namespace tessaly::win32
