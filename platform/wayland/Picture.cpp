#include "Picture.h"

#include <cstring>

namespace tessaly {

namespace {

// Paints `source` scaled to cover all of `target`'s width x height.
void PaintScaled(cairo_surface_t* target, int width, int height, cairo_surface_t* source) {
    const int sourceWidth = cairo_image_surface_get_width(source);
    const int sourceHeight = cairo_image_surface_get_height(source);
    CairoContext cr(cairo_create(target));
    if (sourceWidth == width && sourceHeight == height) {
        PaintImage(cr.get(), source);
        return;
    }
    cairo_scale(cr.get(), static_cast<double>(width) / sourceWidth, static_cast<double>(height) / sourceHeight);
    cairo_set_source_surface(cr.get(), source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
    cairo_paint(cr.get());
}

}  // namespace

void Picture::Start(int width, int height, cairo_surface_t* start) {
    image_ = CreateFilledImage(width, height, Rgb(0, 0, 0));
    width_ = width;
    height_ = height;
    if (start != nullptr) PaintScaled(image_.get(), width, height, start);
    cairo_surface_flush(image_.get());
}

void Picture::Resize(int width, int height, bool sameScreen) {
    CairoSurface image = CreateFilledImage(width, height, Rgb(0, 0, 0));
    if (image_ != nullptr) {
        if (sameScreen) {
            PaintScaled(image.get(), width, height, image_.get());
        } else {
            CairoContext cr(cairo_create(image.get()));
            PaintImage(cr.get(), image_.get());
        }
    }
    cairo_surface_flush(image.get());
    image_ = std::move(image);
    width_ = width;
    height_ = height;
}

std::size_t Picture::CopyTo(uint8_t* data, int stride, const pixman_region32_t* region) const {
    const uint8_t* source = cairo_image_surface_get_data(image_.get());
    const int sourceStride = cairo_image_surface_get_stride(image_.get());
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(region), &count);
    std::size_t copied = 0;
    for (int i = 0; i < count; ++i) {
        const pixman_box32_t& box = boxes[i];
        const std::size_t bytes = static_cast<std::size_t>(box.x2 - box.x1) * 4;
        for (int y = box.y1; y < box.y2; ++y)
            std::memcpy(data + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(box.x1) * 4,
                        source + static_cast<std::size_t>(y) * sourceStride + static_cast<std::size_t>(box.x1) * 4,
                        bytes);
        copied += bytes * static_cast<std::size_t>(box.y2 - box.y1);
    }
    return copied;
}

}  // namespace tessaly
