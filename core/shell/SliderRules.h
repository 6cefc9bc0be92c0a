// How the settings dialog's two sliders move, independent of the toolkit.
#pragma once

namespace tessaly {

// Scroll codes as the platform numbers them.
enum ScrollCode : int {
    kScrollLineLeft = 0,
    kScrollLineRight = 1,
    kScrollPageLeft = 2,
    kScrollPageRight = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollLeft = 6,
    kScrollRight = 7,
    kScrollEnd = 8,
};

// The new position for a scroll code, already within the speed slider's
// range, which serves both sliders; each bar then keeps to its own range.
int SliderPositionFor(int code, int position, int thumbPosition);
// What a bar with range [min, max] does with a position set on it.
int ClampToBar(int position, int min, int max);

}  // namespace tessaly
