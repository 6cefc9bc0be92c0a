// The three settings, declared once: every reader of a setting (the stored
// profile, the command lines and their help texts, the dialogs' sliders, the
// check of the XScreenSaver description) takes its name, range, default,
// option and summary from the table below. Adding a setting means a row here
// with its SettingIndex, a field in GardenState and its dialog control (a
// field in SettingsValues, which WriteSettings stores, and the controls).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/GardenState.h"

namespace tessaly {

constexpr const char* kSettingsSection = "Config";

struct SettingRule {
    const char* entry;            // value name in the registry, key in the settings file
    int32_t GardenState::*field;  // where a loaded value goes
    int32_t defaultValue;         // when nothing is stored, or the stored value is refused
    bool checked;                 // stored values outside min..max are refused
    int32_t min, max;
    int32_t sliderMin, sliderMax;  // the dialog's slider; a check box when both are 0
    const char* option;            // the command-line option that overrides it for one run
    const char* summary;           // what it does, for help texts; they add the range and default
};

enum SettingIndex { kCycleLengthSetting = 0, kSpeedSetting = 1, kBuildSetting = 2, kSettingCount = 3 };

// In load and write order.
inline constexpr SettingRule kSettingRules[kSettingCount] = {
    {"cycle_length", &GardenState::cycleLengthSetting, 5, true, 1, 1000, 1, 30, "--cycle-length",
     "scenes of one kind before the next, x40"},
    {"Speed", &GardenState::speedSetting, 60, true, 0, 100, 1, 100, "--speed",
     "slow to fast: a tick every 505-5N ms"},
    {"Build", &GardenState::buildSetting, 0, false, 0, 1, 0, 0, "--build",
     "each drawing figure by figure (1) or at once (0)"},
};

// A check box in the dialogs: on or off, 1 or 0, with no slider.
constexpr bool IsFlag(const SettingRule& rule) { return rule.sliderMin == 0 && rule.sliderMax == 0; }

// Every stored default, by row.
constexpr std::array<int32_t, kSettingCount> SettingDefaults() {
    std::array<int32_t, kSettingCount> values{};
    for (int i = 0; i < kSettingCount; ++i) values[i] = kSettingRules[i].defaultValue;
    return values;
}

// What a help text says of a setting: its summary, then in brackets the
// range a checked setting keeps to and, with `withDefault`, the default:
// "... x40 (1..1000, default 5)", "... at once (0) (default 0)".
std::string SettingHelp(const SettingRule& rule, bool withDefault);

// One entry of a help text: `head` (the option or key, indented), then
// `text` from column `column`, wrapped at word ends (never inside brackets)
// to lines of at most `width` characters; a head too wide for its column
// stands on a line of its own.
std::string HelpEntry(const std::string& head, const std::string& text, std::size_t column, std::size_t width);

// Whether a stored value would be accepted by LoadSettings.
bool SettingAccepts(const SettingRule& rule, int32_t value);

// Where stored settings come from: the registry on Windows, a file elsewhere.
// Like the profile functions it returns the stored 32-bit value unsigned, or
// the default when there is none.
class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    virtual uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) = 0;
};

class ProfileWriter {
public:
    virtual ~ProfileWriter() = default;
    virtual bool WriteProfileInt(const char* section, const char* entry, int32_t value) = 0;
};

// Every setting at its stored default, as with nothing stored.
void LoadDefaults(GardenState& state);
// cycle_length, then Speed, then Build, with the range checks, into `state`.
void LoadSettings(ProfileReader& reader, GardenState& state);
// The dialog's confirmed values, in the order cycle_length, Speed, Build;
// false, naming the first value that could not be stored, when one fails.
bool WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build, std::string& error);

}  // namespace tessaly
