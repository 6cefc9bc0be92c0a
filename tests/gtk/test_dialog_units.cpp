// Dialog units scale the template to the desktop's font.
#include <gtest/gtest.h>

#include "gtk/DialogUnits.h"

namespace tessaly {
namespace {

TEST(DialogUnits, BaseUnitsRoundTheAverageLetterWidth) {
    // The classic 8-point dialog font: 52 letters 312 pixels wide, 13 high.
    const DialogBaseUnits classic = BaseUnitsFromFont(312, 13);
    EXPECT_EQ(classic.x, 6);
    EXPECT_EQ(classic.y, 13);
    // Half a pixel of average width rounds up: 52 letters of 6.5 pixels.
    EXPECT_EQ(BaseUnitsFromFont(338, 16).x, 7);
    EXPECT_EQ(BaseUnitsFromFont(337, 16).x, 6);
    // A font that cannot be measured still lays out.
    const DialogBaseUnits none = BaseUnitsFromFont(0, 0);
    EXPECT_EQ(none.x, 1);
    EXPECT_EQ(none.y, 1);
}

TEST(DialogUnits, PreviewFrameScalesWithTheFont) {
    const DialogBaseUnits classic{6, 13};
    // 92 x 69 units: 138 x 112.125 pixels, rounded.
    EXPECT_EQ(HorizontalPixels(kPreviewSize.width, classic), 138);
    EXPECT_EQ(VerticalPixels(kPreviewSize.height, classic), 112);
    const DialogBaseUnits large{8, 18};
    EXPECT_EQ(HorizontalPixels(kPreviewSize.width, large), 184);
    EXPECT_EQ(VerticalPixels(kPreviewSize.height, large), 155);  // 155.25
    // Halves round away from zero: 3 x 6 / 4 = 4.5.
    EXPECT_EQ(HorizontalPixels(3, classic), 5);
    EXPECT_EQ(HorizontalPixels(-3, classic), -5);
    EXPECT_EQ(VerticalPixels(0, large), 0);
}

}  // namespace
}  // namespace tessaly
