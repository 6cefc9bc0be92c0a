#include "device/PortableGdiObjects.h"

namespace tessaly {

PortableGdiObjects::PortableGdiObjects() = default;
PortableGdiObjects::~PortableGdiObjects() = default;

GdiHandle PortableGdiObjects::GetStockObject(int index) {
    switch (index) {
        case kStockWhitePen: return &whitePen_;
        case kStockBlackPen: return &blackPen_;
        default: return nullptr;
    }
}

GdiHandle PortableGdiObjects::CreateSolidBrush(ColourRef colour) {
    return new GdiObjectRecord{GdiObjectRecord::Kind::Brush, colour, false};
}

bool PortableGdiObjects::DeleteObject(GdiHandle object) {
    auto* record = static_cast<GdiObjectRecord*>(object);
    if (record == nullptr) return false;
    if (record->stock) return true;
    delete record;
    return true;
}

}  // namespace tessaly
