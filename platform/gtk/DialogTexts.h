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

constexpr const char* kAboutTitle = "About Tessaly Screen Saver";
constexpr const char* kAboutText =
    "Tessaly Screen Saver.\n\nDisplays spring flowers, summer flowers, fall leaves, and snow in an "
    "ever changing sequence.";
constexpr const char* kAuthorNotice =
    "Tessaly 1.0, written by the Tessaly developers.\n"
    "Every garden grows at random, one drawing over another.";

}  // namespace tessaly
