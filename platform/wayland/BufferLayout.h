// How a surface's buffer covers its logical size. Where the compositor
// offers fractional scales with viewports, the buffer has the screen's own
// pixels (1920x1080 for 1280x720 at 1.5) and the viewport shows it at the
// logical size: one garden pixel on each screen pixel. Elsewhere, and at a
// whole scale, the buffer is the logical size times the integer scale, as
// wl_output tells it (rounded up from a fractional one: the compositor
// shrinks the buffer to the screen).
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace tessaly {

// Scales in 120ths, as wp_fractional_scale_v1 gives them.
constexpr uint32_t kScaleDenominator = 120;

struct BufferLayout {
    Size buffer{};        // the pixels painted
    int bufferScale = 1;  // wl_surface.set_buffer_scale
    Size viewport{};      // the viewport's destination; empty: none (the buffer scale rules)

    friend bool operator==(const BufferLayout& a, const BufferLayout& b) {
        return a.buffer == b.buffer && a.bufferScale == b.bufferScale && a.viewport == b.viewport;
    }
    friend bool operator!=(const BufferLayout& a, const BufferLayout& b) { return !(a == b); }
    // The surface's size in logical pixels.
    Size Logical() const;
};

// `fractional120`: the scale in 120ths where viewports and fractional scales
// are offered, else 0 (then `integerScale` rules).
BufferLayout LayoutFor(Size logical, int integerScale, uint32_t fractional120);

// The scale an output shows at, in 120ths, from its screen's pixels (its
// mode turned as the surfaces are) over its logical size; 0 when unknown.
// What the compositor will prefer for a surface on it, until it says so.
uint32_t ScaleOfScreen(Size turnedMode, Size logical);

}  // namespace tessaly
