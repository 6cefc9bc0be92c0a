// A paint device context, shaped like the few GDI calls the garden uses:
// select, the anisotropic mapping from the logical canvas to the client area,
// and Polygon / Polyline / Ellipse output (fill with the selected brush,
// outline with the selected pen).
#pragma once

#include "base/Geometry.h"
#include "device/GdiObjects.h"

namespace tessaly {

class DrawingDevice {
public:
    virtual ~DrawingDevice() = default;

    // Returns the object previously selected of the same kind (pen or brush).
    virtual GdiHandle SelectObject(GdiHandle object) = 0;

    virtual void SetMapModeAnisotropic() = 0;  // SetMapMode(MM_ANISOTROPIC)
    virtual void SetWindowExt(int cx, int cy) = 0;
    virtual void SetViewportExt(int cx, int cy) = 0;
    virtual void SetViewportOrg(int x, int y) = 0;

    virtual bool Polygon(const Point* points, int count) = 0;
    virtual bool Polyline(const Point* points, int count) = 0;
    virtual bool Ellipse(int left, int top, int right, int bottom) = 0;
};

}  // namespace tessaly
