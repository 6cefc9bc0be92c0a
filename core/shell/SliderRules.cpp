#include "shell/SliderRules.h"

#include "settings/Settings.h"

namespace tessaly {

namespace {
constexpr const SettingRule& kSpeedSlider = kSettingRules[kSpeedSetting];
}  // namespace

int SliderPositionFor(int code, int position, int thumbPosition) {
    int p = position;
    switch (code) {
        case kScrollLineLeft: p = position - 1; break;
        case kScrollLineRight: p = position + 1; break;
        case kScrollPageLeft: p = position - 10; break;
        case kScrollPageRight: p = position + 10; break;
        case kScrollThumbPosition:
        case kScrollThumbTrack: p = thumbPosition; break;
        case kScrollLeft: p = kSpeedSlider.sliderMin; break;
        case kScrollRight: p = kSpeedSlider.sliderMax; break;
        default: break;  // SB_ENDSCROLL and anything else leave it where it is
    }
    return ClampToBar(p, kSpeedSlider.sliderMin, kSpeedSlider.sliderMax);
}

int ClampToBar(int position, int min, int max) {
    if (position < min) return min;
    if (position > max) return max;
    return position;
}

}  // namespace tessaly
