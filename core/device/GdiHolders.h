// Holders of one GDI object each, with the life the garden relies on:
// empty at construction, delete-and-detach, attach, delete on destruction.
#pragma once

#include "device/GdiObjects.h"

namespace tessaly {

class CGdiObject {
public:
    explicit CGdiObject(GdiObjects& objects) : objects_(&objects) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    bool DeleteObject();
    bool Attach(GdiHandle handle);
    GdiHandle GetSafeHandle() const { return handle_; }
    GdiObjects& Objects() const { return *objects_; }

    // Overwrites the handle without deleting the old one (stock objects only).
    void SetHandle(GdiHandle handle) { handle_ = handle; }

private:
    GdiObjects* objects_;
    GdiHandle handle_ = nullptr;
};

class CPen : public CGdiObject {
public:
    using CGdiObject::CGdiObject;
};

class CBrush : public CGdiObject {
public:
    using CGdiObject::CGdiObject;
};

// Puts stock object `index` into the holder; true when the handle is not null.
bool AssignStockObject(CGdiObject& holder, int index);
// Delete the held brush, create a solid one of `colour`, attach it.
bool ReplaceSolidBrush(CBrush& holder, ColourRef colour);

}  // namespace tessaly
