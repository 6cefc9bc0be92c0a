#include "Picture.h"

#include <cstring>

#include "cairo/CairoImage.h"
#include "cairo/DamageRecorder.h"

namespace tessaly {

namespace {

// Two buffers take turns where the compositor holds the one it shows; a
// third covers one it holds on to longer.
constexpr int kBuffers = 3;

// Paints `source` over `target`: scaled to cover all of it, or pixel for pixel.
void CarryOver(cairo_surface_t* source, cairo_surface_t* target, bool scaled) {
    cairo_surface_flush(source);
    CairoContext cr(cairo_create(target));
    const int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    const int sourceWidth = cairo_image_surface_get_width(source);
    const int sourceHeight = cairo_image_surface_get_height(source);
    if (scaled && (sourceWidth != width || sourceHeight != height)) {
        cairo_scale(cr.get(), static_cast<double>(width) / sourceWidth, static_cast<double>(height) / sourceHeight);
        cairo_set_source_surface(cr.get(), source, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
        cairo_paint(cr.get());
    } else {
        PaintImage(cr.get(), source);
    }
    cairo_surface_flush(target);
}

// Copies `region` from one buffer to another of the same size and layout.
uint64_t CopyRegion(const ShmBuffer& from, ShmBuffer& to, int stride, const pixman_region32_t* region) {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(region), &count);
    uint64_t copied = 0;
    for (int i = 0; i < count; ++i) {
        const pixman_box32_t& box = boxes[i];
        const std::size_t bytes = static_cast<std::size_t>(box.x2 - box.x1) * 4;
        const std::size_t left = static_cast<std::size_t>(box.x1) * 4;
        for (int y = box.y1; y < box.y2; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
            std::memcpy(to.data + row + left, from.data + row + left, bytes);
        }
        copied += bytes * static_cast<uint64_t>(box.y2 - box.y1);
    }
    return copied;
}

}  // namespace

std::unique_ptr<ShmPool> Picture::NewPool(int width, int height, std::string& error) {
    if (!ImageSizeFits(width, height, error)) return nullptr;
    return ShmPool::Create(shm_, width, height, width * 4, WL_SHM_FORMAT_XRGB8888, kBuffers, released_, error);
}

bool Picture::Start(int width, int height, cairo_surface_t* start, std::string& error) {
    pool_ = NewPool(width, height, error);
    if (pool_ == nullptr) return false;
    // A fresh buffer reads as black: untouched pages are zeros.
    latest_ = pool_->FreeBuffer();
    if (start != nullptr) CarryOver(start, latest_->image, true);
    pixman_region32_clear(&latest_->damage);
    return true;
}

bool Picture::Resize(int width, int height, bool sameScreen, std::string& error) {
    std::unique_ptr<ShmPool> pool = NewPool(width, height, error);
    if (pool == nullptr) return false;
    ShmBuffer* first = pool->FreeBuffer();
    CarryOver(latest_->image, first->image, sameScreen);
    pixman_region32_clear(&first->damage);
    // The old buffers may still be on the output: the compositor keeps what it has.
    pool_ = std::move(pool);
    latest_ = first;
    return true;
}

ShmBuffer* Picture::Next() {
    ShmBuffer* next = pool_->FreeBuffer(latest_);
    if (next == nullptr) return nullptr;
    if (next != latest_) {
        cairo_surface_flush(latest_->image);
        copied_ += CopyRegion(*latest_, *next, pool_->Stride(), &next->damage);
        cairo_surface_mark_dirty(next->image);
        latest_ = next;
    }
    pixman_region32_clear(&next->damage);
    return next;
}

bool Picture::Painted(const std::vector<Rect>& rects, pixman_region32_t* unshown) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const Rect& r : ClipRects(rects, Width(), Height())) boxes.push_back({r.left, r.top, r.right, r.bottom});
    if (boxes.empty()) return false;
    pixman_region32_t region;
    pixman_region32_init_rects(&region, boxes.data(), static_cast<int>(boxes.size()));
    pixman_region32_union(unshown, unshown, &region);
    pool_->AddDamage(&region, latest_);
    pixman_region32_fini(&region);
    return true;
}

uint64_t Picture::TakeBytesCopied() {
    const uint64_t copied = copied_;
    copied_ = 0;
    return copied;
}

}  // namespace tessaly
