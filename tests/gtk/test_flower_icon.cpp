// The icon drawing: a yellow heart among magenta petals on a green stem,
// transparent around, the same picture at every size.
#include <gtest/gtest.h>

#include <cstdint>

#include "gtk/FlowerIcon.h"

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

TEST(FlowerIcon, DesignSizeShowsHeartPetalsStemAndLeaves) {
    CairoSurface icon = CreateFlowerIcon(kIconDesignSize);
    ASSERT_EQ(cairo_image_surface_get_width(icon.get()), 32);
    ExpectColour(icon.get(), 15, 10, kIconHeart);
    ExpectColour(icon.get(), 21, 10, kIconPetal);  // the petal to the right
    ExpectColour(icon.get(), 12, 5, kIconPetal);   // upper left
    ExpectColour(icon.get(), 11, 24, kIconLeaf);
    ExpectColour(icon.get(), 20, 21, kIconLeaf);
    ExpectColour(icon.get(), 16, 30, kIconStem);
    for (int corner : {0, 31}) {
        EXPECT_EQ(At(icon.get(), corner, 0).a, 0u);
        EXPECT_EQ(At(icon.get(), 31 - corner, 31).a, 0u);
    }
}

TEST(FlowerIcon, LargerSizesScaleTheSameDesign) {
    CairoSurface icon = CreateFlowerIcon(64);
    ExpectColour(icon.get(), 31, 21, kIconHeart);
    ExpectColour(icon.get(), 43, 21, kIconPetal);
    ExpectColour(icon.get(), 23, 49, kIconLeaf);
    ExpectColour(icon.get(), 33, 61, kIconStem);
}

}  // namespace
}  // namespace tessaly
