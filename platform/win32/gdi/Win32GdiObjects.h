// The core's GDI objects as real GDI: stock pens, solid brushes, DeleteObject.
#pragma once

#include "device/GdiObjects.h"

namespace tessaly::win32 {

class Win32GdiObjects final : public GdiObjects {
public:
    GdiHandle GetStockObject(int index) override;
    GdiHandle CreateSolidBrush(ColourRef colour) override;
    bool DeleteObject(GdiHandle object) override;
};

// The one instance every canvas of the process uses (it has no state).
Win32GdiObjects& ProcessGdiObjects();

}  // namespace tessaly::win32
