#include "shell/SliderRules.h"

namespace tessaly {

int SliderPositionFor(int code, int position, int thumbPosition) {
    int p = position;
    switch (code) {
        case kScrollLineLeft: p = position - 1; break;
        case kScrollLineRight: p = position + 1; break;
        case kScrollPageLeft: p = position - 10; break;
        case kScrollPageRight: p = position + 10; break;
        case kScrollThumbPosition:
        case kScrollThumbTrack: p = thumbPosition; break;
        case kScrollLeft: p = 1; break;
        case kScrollRight: p = 100; break;
        default: break;  // SB_ENDSCROLL and anything else leave it where it is
    }
    // The same bounds serve both sliders; each bar then keeps to its own range.
    return ClampToBar(p, kSpeedSliderMin, kSpeedSliderMax);
}

int ClampToBar(int position, int min, int max) {
    if (position < min) return min;
    if (position > max) return max;
    return position;
}

}  // namespace tessaly
