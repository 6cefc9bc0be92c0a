// The words of the settings dialog and the About box.
#pragma once

namespace tessaly {

constexpr const char* kSettingsTitle = "Tessaly Saver";
constexpr const char* kCycleExplanation =
    "Cycle length controls how long it will be before the saver changes to the next image type.";
constexpr const char* kSpeedExplanation = "Speed controls time between each new drawing.";
constexpr const char* kCycleGroup = "Cycle Length";
constexpr const char* kCycleLow = "Low";
constexpr const char* kCycleHigh = "High";
constexpr const char* kSpeedGroup = "Speed";
constexpr const char* kSpeedSlow = "Slow";
constexpr const char* kSpeedFast = "Fast";
constexpr const char* kBuildCheck = "_Step by step build";  // S is the mnemonic
constexpr const char* kOkButton = "OK";
constexpr const char* kCancelButton = "Cancel";
constexpr const char* kAboutButton = "About";
constexpr const char* kAboutMenuItem = "_About Saver...";
// The idle watcher's group (Linux only).
constexpr const char* kIdleGroup = "When the computer is idle";
constexpr const char* kIdleStartCheck = "Start the garden when the computer is _idle";  // I is the mnemonic
constexpr const char* kIdleWaitBefore = "Wait";
constexpr const char* kIdleWaitAfter = "minutes, then show the garden";
constexpr const char* kIdleLockBefore = "Lock the session after";
constexpr const char* kIdleLockAfter = "minutes of garden (0: never)";
constexpr const char* kGnomeBlanksFirst =
    "The garden would never show: GNOME blanks the screen first. Choose a shorter wait, or a longer delay in "
    "GNOME's Settings (Power, Screen Blank).";

constexpr const char* kAboutTitle = "About Tessaly Screen Saver";
constexpr const char* kAboutText =
    "Tessaly Screen Saver.\n\nDisplays spring flowers, summer flowers, fall leaves, and snow in an "
    "ever changing sequence.";
// The author's notices, worded as on Windows.
constexpr const char* kSettingsNotice =
    "Tessaly is made by the Tessaly developers and may be copied and shared freely. It paints a new "
    "garden every time it runs.";
constexpr const char* kAboutNotice =
    "Made by the Tessaly developers. Free to copy and share; every run grows a garden of its own.";

}  // namespace tessaly
