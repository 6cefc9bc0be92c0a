// Reading pixels back from Cairo image surfaces in tests.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "base/Geometry.h"

namespace tessaly {

// The colour at (x, y) of an RGB24 or ARGB32 image, as a ColourRef.
inline ColourRef PixelAt(cairo_surface_t* image, int x, int y) {
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    uint32_t v;
    __builtin_memcpy(&v, data + y * stride + x * 4, 4);
    return Rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

inline int CountColour(cairo_surface_t* image, ColourRef colour) {
    int n = 0;
    for (int y = 0; y < cairo_image_surface_get_height(image); ++y)
        for (int x = 0; x < cairo_image_surface_get_width(image); ++x)
            if (PixelAt(image, x, y) == colour) ++n;
    return n;
}

}  // namespace tessaly
