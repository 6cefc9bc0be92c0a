// GdiObjects for the devices that are not GDI (Cairo, SVG): every pen and
// brush is a small record, and the handle is the record's address.
#pragma once

#include "device/GdiObjects.h"

namespace tessaly {

struct GdiObjectRecord {
    enum class Kind { Pen, Brush };
    Kind kind;
    ColourRef colour;
    bool stock;
};

class PortableGdiObjects final : public GdiObjects {
public:
    PortableGdiObjects();
    ~PortableGdiObjects() override;

    GdiHandle GetStockObject(int index) override;
    GdiHandle CreateSolidBrush(ColourRef colour) override;
    bool DeleteObject(GdiHandle object) override;

    // The record behind a handle this object (or any other instance) made.
    static const GdiObjectRecord* Record(GdiHandle handle) {
        return static_cast<const GdiObjectRecord*>(handle);
    }

private:
    GdiObjectRecord whitePen_{GdiObjectRecord::Kind::Pen, Rgb(255, 255, 255), true};
    GdiObjectRecord blackPen_{GdiObjectRecord::Kind::Pen, Rgb(0, 0, 0), true};
};

}  // namespace tessaly
