// The GDI object side of a drawing device: stock pens and solid brushes with
// the create / delete life of GDI objects. On Windows these are real HPEN and
// HBRUSH handles; elsewhere PortableGdiObjects keeps small records.
#pragma once

#include "base/Geometry.h"

namespace tessaly {

using GdiHandle = void*;  // opaque; null means "no object"

constexpr int kStockWhitePen = 6;  // WHITE_PEN
constexpr int kStockBlackPen = 7;  // BLACK_PEN

class GdiObjects {
public:
    virtual ~GdiObjects() = default;
    virtual GdiHandle GetStockObject(int index) = 0;
    virtual GdiHandle CreateSolidBrush(ColourRef colour) = 0;
    // Deleting a stock object is harmless and ignored, as in GDI.
    virtual bool DeleteObject(GdiHandle object) = 0;
};

}  // namespace tessaly
