// The icon drawing: a yellow heart among magenta petals on a green stem,
// transparent around, the same picture at every size.
#include <gtest/gtest.h>

#include <cstdint>

#include "FlowerIcon.h"

namespace tessaly {
namespace {

struct Pixel {
    uint32_t r, g, b, a;
};

Pixel At(cairo_surface_t* s, int x, int y) {
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    return Pixel{(argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24};
}

void ExpectColour(cairo_surface_t* s, int x, int y, ColourRef c) {
    const Pixel p = At(s, x, y);
    EXPECT_EQ(p.a, 255u) << x << "," << y;
    EXPECT_EQ(p.r, RedOf(c)) << x << "," << y;
    EXPECT_EQ(p.g, GreenOf(c)) << x << "," << y;
    EXPECT_EQ(p.b, BlueOf(c)) << x << "," << y;
}

TEST(FlowerIcon, DesignSizeShowsHeartPetalsStemAndLeaf) {
    CairoSurface icon = CreateFlowerIcon(kIconDesignSize);
    ASSERT_EQ(cairo_image_surface_get_width(icon.get()), 32);
    ExpectColour(icon.get(), 16, 12, kIconHeart);
    ExpectColour(icon.get(), 16, 4, kIconPetal);   // the petal straight above
    ExpectColour(icon.get(), 21, 15, kIconPetal);  // lower right
    ExpectColour(icon.get(), 9, 24, kIconLeaf);
    ExpectColour(icon.get(), 14, 28, kIconStem);
    for (int corner : {0, 31}) {
        EXPECT_EQ(At(icon.get(), corner, 0).a, 0u);
        EXPECT_EQ(At(icon.get(), 31 - corner, 31).a, 0u);
    }
}

TEST(FlowerIcon, LargerSizesScaleTheSameDesign) {
    CairoSurface icon = CreateFlowerIcon(64);
    ExpectColour(icon.get(), 32, 24, kIconHeart);
    ExpectColour(icon.get(), 32, 8, kIconPetal);
    ExpectColour(icon.get(), 18, 48, kIconLeaf);
    ExpectColour(icon.get(), 29, 58, kIconStem);
}

}  // namespace
}  // namespace tessaly
