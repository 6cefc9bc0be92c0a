#include "BufferLayout.h"

#include <cmath>

namespace tessaly {

namespace {
// The fractional-scale protocol's rounding: halfway away from zero.
int32_t Scaled(int32_t logical, uint32_t scale120) {
    return static_cast<int32_t>(std::lround(static_cast<double>(logical) * scale120 / kScaleDenominator));
}
}  // namespace

Size BufferLayout::Logical() const {
    if (viewport.width > 0) return viewport;
    return Size{buffer.width / bufferScale, buffer.height / bufferScale};
}

BufferLayout LayoutFor(Size logical, int integerScale, uint32_t fractional120) {
    if (fractional120 != 0 && fractional120 % kScaleDenominator != 0)
        return {Size{Scaled(logical.width, fractional120), Scaled(logical.height, fractional120)}, 1, logical};
    // A whole scale needs no viewport: the integer path, as without one.
    const int scale = fractional120 != 0 ? static_cast<int>(fractional120 / kScaleDenominator) : integerScale;
    return {Size{logical.width * scale, logical.height * scale}, scale, Size{}};
}

uint32_t ScaleOfScreen(Size turnedMode, Size logical) {
    if (logical.width <= 0 || turnedMode.width <= 0) return 0;
    return static_cast<uint32_t>(
        std::lround(static_cast<double>(turnedMode.width) * kScaleDenominator / logical.width));
}

}  // namespace tessaly
