#include "shell/SettingsDialogModel.h"

#include "settings/Settings.h"
#include "shell/SliderRules.h"

namespace tessaly {

namespace {
constexpr const SettingRule& kCycle = kSettingRules[kCycleLengthSetting];
constexpr const SettingRule& kSpeed = kSettingRules[kSpeedSetting];

// Each row's field, in the table's order.
constexpr int32_t SettingsValues::*kValueOfRow[] = {&SettingsValues::cycleLength, &SettingsValues::speed,
                                                    &SettingsValues::build, &SettingsValues::idleWait,
                                                    &SettingsValues::lockAfter};
static_assert(sizeof kValueOfRow / sizeof kValueOfRow[0] == kSettingCount, "a field for every row");
}  // namespace

int32_t& SettingsValues::operator[](int row) { return this->*kValueOfRow[row]; }

SettingsDialogModel::SettingsDialogModel(CanvasWindow& preview) : preview_(preview) {}

void SettingsDialogModel::Initialise(const SettingsValues& values) {
    // A two-state check box shows any nonzero flag as checked.
    buildChecked_ = values.build != 0;

    // The preview follows the values as loaded, before the bars clamp them.
    preview_.SetSpeed(values.speed);
    preview_.SetCycleLength(values.cycleLength);
    preview_.State().buildSetting = values.build;

    cyclePosition_ = ClampToBar(values.cycleLength, kCycle.sliderMin, kCycle.sliderMax);
    speedPosition_ = ClampToBar(values.speed, kSpeed.sliderMin, kSpeed.sliderMax);
}

int SettingsDialogModel::Scroll(Slider slider, int code, int thumbPosition) {
    if (slider == Slider::Cycle) {
        const int p = SliderPositionFor(code, cyclePosition_, thumbPosition);
        cyclePosition_ = ClampToBar(p, kCycle.sliderMin, kCycle.sliderMax);
    } else {
        const int p = SliderPositionFor(code, speedPosition_, thumbPosition);
        speedPosition_ = ClampToBar(p, kSpeed.sliderMin, kSpeed.sliderMax);
    }
    // Whichever slider moved, the timer restarts with the speed slider's position.
    preview_.SetSpeed(speedPosition_);
    preview_.SetCycleLength(cyclePosition_);
    return Position(slider);
}

void SettingsDialogModel::BuildClicked(bool checked) {
    buildChecked_ = checked;
    preview_.State().buildSetting = checked ? 1 : 0;
}

SettingsValues SettingsDialogModel::Confirmed() const {
    SettingsValues values;
    values.cycleLength = cyclePosition_;
    values.speed = speedPosition_;
    values.build = buildChecked_ ? 1 : 0;
    return values;
}

int SettingsDialogModel::Position(Slider slider) const {
    return slider == Slider::Cycle ? cyclePosition_ : speedPosition_;
}

}  // namespace tessaly
