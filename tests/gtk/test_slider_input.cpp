// Keys, mouse actions and wheel turns on a slider become the scroll codes
// of a horizontal scroll bar.
#include <gtest/gtest.h>

#include "gtk/SliderInput.h"
#include "shell/SliderRules.h"

namespace tessaly {
namespace {

TEST(SliderInput, KeysFollowTheScrollBarKeyboardInterface) {
    struct Case {
        guint key;
        int code;
    };
    const Case cases[] = {
        {GDK_KEY_Left, kScrollLineLeft},       {GDK_KEY_Up, kScrollLineLeft},
        {GDK_KEY_KP_Left, kScrollLineLeft},    {GDK_KEY_Right, kScrollLineRight},
        {GDK_KEY_Down, kScrollLineRight},      {GDK_KEY_KP_Down, kScrollLineRight},
        {GDK_KEY_Page_Up, kScrollPageLeft},    {GDK_KEY_KP_Page_Up, kScrollPageLeft},
        {GDK_KEY_Page_Down, kScrollPageRight}, {GDK_KEY_Home, kScrollLeft},
        {GDK_KEY_KP_Home, kScrollLeft},        {GDK_KEY_End, kScrollRight},
        {GDK_KEY_KP_End, kScrollRight},
    };
    for (const Case& c : cases) EXPECT_EQ(ScrollCodeForKey(c.key), c.code) << gdk_keyval_name(c.key);
    for (guint key : {GDK_KEY_Tab, GDK_KEY_Return, GDK_KEY_Escape, GDK_KEY_space, GDK_KEY_a}) {
        EXPECT_EQ(ScrollCodeForKey(key), kNotASliderKey) << gdk_keyval_name(key);
    }
}

TEST(SliderInput, MouseActionsPageInTheTroughAndTrackTheThumb) {
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_PAGE_BACKWARD), kScrollPageLeft);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_PAGE_FORWARD), kScrollPageRight);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_STEP_BACKWARD), kScrollLineLeft);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_STEP_FORWARD), kScrollLineRight);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_START), kScrollLeft);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_END), kScrollRight);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_JUMP), kScrollThumbTrack);
    EXPECT_EQ(ScrollCodeForScrollType(GTK_SCROLL_NONE), kScrollEnd);
}

TEST(SliderInput, WheelStepsOneLine) {
    EXPECT_EQ(ScrollCodeForWheel(GDK_SCROLL_UP, 0, 0), kScrollLineLeft);
    EXPECT_EQ(ScrollCodeForWheel(GDK_SCROLL_DOWN, 0, 0), kScrollLineRight);
    EXPECT_EQ(ScrollCodeForWheel(GDK_SCROLL_SMOOTH, 0, -0.4), kScrollLineLeft);
    EXPECT_EQ(ScrollCodeForWheel(GDK_SCROLL_SMOOTH, 1.5, 0), kScrollLineRight);
    EXPECT_EQ(ScrollCodeForWheel(GDK_SCROLL_SMOOTH, 0, 0), kNotASliderKey);
}

}  // namespace
}  // namespace tessaly
