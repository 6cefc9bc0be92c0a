#include "device/GdiHolders.h"

namespace tessaly {

bool CGdiObject::DeleteObject() {
    if (handle_ == nullptr) return false;
    // Detach first, so the holder is empty whatever the delete does.
    GdiHandle handle = handle_;
    handle_ = nullptr;
    return objects_->DeleteObject(handle);
}

bool CGdiObject::Attach(GdiHandle handle) {
    if (handle == nullptr) return false;
    // Callers empty the holder first; should one not, the old object is
    // released rather than lost.
    if (handle_ != nullptr && handle_ != handle) objects_->DeleteObject(handle_);
    handle_ = handle;
    return true;
}

bool AssignStockObject(CGdiObject& holder, int index) {
    // The old handle is overwritten, not deleted: the pen holder only ever
    // holds stock pens, which need no deleting.
    holder.SetHandle(holder.Objects().GetStockObject(index));
    return holder.GetSafeHandle() != nullptr;
}

bool ReplaceSolidBrush(CBrush& holder, ColourRef colour) {
    holder.DeleteObject();
    GdiHandle brush = holder.Objects().CreateSolidBrush(colour);
    return holder.Attach(brush);
}

}  // namespace tessaly
