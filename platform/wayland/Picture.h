// The picture of one output: every paint draws into it, and what the output
// shows is a copy of it. Nothing painted is lost when the output changes:
// the picture keeps every pixel that still fits.
#pragma once

#include <cairo.h>
#include <pixman.h>

#include <cstddef>
#include <cstdint>

#include "CairoImage.h"

namespace tessaly {

class Picture {
public:
    bool Empty() const { return image_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_surface_t* Surface() const { return image_.get(); }

    // A width x height picture of `start` (what the output showed), fitted
    // to it; black when `start` is null.
    void Start(int width, int height, cairo_surface_t* start);
    // A new size. `sameScreen`: the output's own pixels did not change (only
    // its scale did), so the picture covers the same part of the screen as
    // before and is scaled to the new size, the user seeing what he saw;
    // otherwise every pixel stays where it is and new area is black.
    void Resize(int width, int height, bool sameScreen);
    // Copies `region` of the picture into a buffer of the same size in the
    // same byte layout (XRGB8888); the number of bytes copied.
    std::size_t CopyTo(uint8_t* data, int stride, const pixman_region32_t* region) const;

private:
    CairoSurface image_;
    int width_ = 0, height_ = 0;
};

}  // namespace tessaly
