// What the settings dialog does with its two sliders and its check box, kept
// apart from the toolkit (the GTK and the Win32 dialog both drive it): the
// positions it shows, the calls it makes on the live preview, and the values
// it confirms on OK.
#pragma once

#include <cstdint>

#include <string>

#include "canvas/CanvasWindow.h"
#include "settings/Settings.h"

namespace tessaly {

struct SettingsValues {
    // As loaded: a slider's value may be out of its slider's range, the build flag any value (1 means step by step).
    int32_t cycleLength = kSettingRules[kCycleLengthSetting].defaultValue;
    int32_t speed = kSettingRules[kSpeedSetting].defaultValue;
    int32_t build = kSettingRules[kBuildSetting].defaultValue;
    // The idle watcher's, which only the Linux dialog shows.
    int32_t idleWait = kSettingRules[kIdleWaitSetting].defaultValue;
    int32_t lockAfter = kSettingRules[kLockAfterSetting].defaultValue;

    // The value of a row of kSettingRules.
    int32_t& operator[](int row);
    int32_t operator[](int row) const { return const_cast<SettingsValues&>(*this)[row]; }
};

enum class Slider { Cycle, Speed };

class SettingsDialogModel {
public:
    explicit SettingsDialogModel(CanvasWindow& preview);

    // Dialog initialisation, once the preview's window exists: the preview's
    // timer restarts with the speed as loaded, the preview gets the cycle
    // length and the garden's buildSetting the build flag; each slider shows its value at
    // its bar's nearest end when it is out of range.
    void Initialise(const SettingsValues& values);

    // One slider event (a scroll code with the thumb position for drags).
    // Moves that slider, restarts the preview's timer with the speed slider's
    // position and hands the preview the cycle slider's. Returns the new position.
    int Scroll(Slider slider, int code, int thumbPosition = 0);

    // A click on the check box, with its new state: the preview draws
    // accordingly from its next paint.
    void BuildClicked(bool checked);

    // The values OK confirms: the slider positions and the check state.
    SettingsValues Confirmed() const;

    int Position(Slider slider) const;
    bool BuildChecked() const { return buildChecked_; }

private:
    CanvasWindow& preview_;
    int cyclePosition_ = 0;
    int speedPosition_ = 0;
    bool buildChecked_ = false;
};

}  // namespace tessaly
