// The settings, declared once: every reader of a setting (the stored
// profile, the command lines and their help texts, the dialogs' sliders, the
// check of the XScreenSaver description) takes its name, range, default,
// option and summary from the table below, and keeps to the rows of its
// scope. Adding a setting means a row here with its SettingIndex and, for the
// garden, a field in GardenState; then its dialog control (a field in
// SettingsValues, which WriteSettings stores, and the controls).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/GardenState.h"

namespace tessaly {

constexpr const char* kSettingsSection = "Config";

// Which programs take a row.
enum class SettingScope {
    // The garden's: the stored profile on every platform (registry and
    // settings file), both dialogs, both command lines' one-run options,
    // the XScreenSaver description and the renderer.
    Garden,
    // The Linux idle watcher's (tessaly --idle): the settings file, the GTK
    // dialog and the watcher's command line. Windows keeps the system's own
    // wait and lock.
    IdleWatcher,
};

// What a row's number counts.
enum class SettingUnit {
    Plain,
    // Minutes; a one-run option also takes seconds as "Ns".
    Minutes,
};

struct SettingRule {
    const char* entry;            // value name in the registry, key in the settings file
    int32_t GardenState::*field;  // where a loaded garden value goes; none for the watcher's rows
    int32_t defaultValue;         // when nothing is stored, or the stored value is refused
    bool checked;                 // stored values outside min..max are refused
    int32_t min, max;
    int32_t sliderMin, sliderMax;  // the dialog's slider; a check box when both are 0
    const char* option;            // the command-line option that overrides it for one run
    const char* summary;           // what it does, for help texts; they add the range and default
    SettingScope scope;
    SettingUnit unit;
};

enum SettingIndex {
    kCycleLengthSetting = 0,
    kSpeedSetting = 1,
    kBuildSetting = 2,
    kIdleWaitSetting = 3,
    kLockAfterSetting = 4,
    kSettingCount = 5
};

// In load and write order.
inline constexpr SettingRule kSettingRules[kSettingCount] = {
    {"cycle_length", &GardenState::cycleLengthSetting, 5, true, 1, 1000, 1, 30, "--cycle-length",
     "scenes of one kind before the next, x40", SettingScope::Garden, SettingUnit::Plain},
    {"Speed", &GardenState::speedSetting, 60, true, 0, 100, 1, 100, "--speed",
     "slow to fast: a tick every 505-5N ms", SettingScope::Garden, SettingUnit::Plain},
    {"Build", &GardenState::buildSetting, 0, false, 0, 1, 0, 0, "--build",
     "each drawing figure by figure (1) or at once (0)", SettingScope::Garden, SettingUnit::Plain},
    {"IdleWait", nullptr, 5, true, 1, 120, 1, 120, "--wait",
     "minutes idle before the garden starts", SettingScope::IdleWatcher,
     SettingUnit::Minutes},
    {"LockAfter", nullptr, 0, true, 0, 120, 0, 120, "--lock-after",
     "minutes of garden before the lock, 0: never", SettingScope::IdleWatcher,
     SettingUnit::Minutes},
};

constexpr bool IsGardenSetting(const SettingRule& rule) { return rule.scope == SettingScope::Garden; }

// A check box in the dialogs: on or off, 1 or 0, with no slider.
constexpr bool IsFlag(const SettingRule& rule) { return rule.sliderMin == 0 && rule.sliderMax == 0; }

// A time a row of minutes takes as "Ns" on a command line: from one second
// (none for a row that takes 0 for never) to its longest.
constexpr int32_t MinSeconds(const SettingRule& rule) { return rule.min > 0 ? 1 : 0; }
constexpr int32_t MaxSeconds(const SettingRule& rule) { return rule.max * 60; }

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

// Every garden setting at its stored default, as with nothing stored.
void LoadDefaults(GardenState& state);
// One stored setting with its range check: the default when absent or refused.
int32_t LoadSetting(ProfileReader& reader, const SettingRule& rule);
// The garden's settings, cycle_length, then Speed, then Build, with the range checks, into `state`.
void LoadSettings(ProfileReader& reader, GardenState& state);
// Stores one setting; false, naming it, when that fails.
bool WriteSetting(ProfileWriter& writer, const SettingRule& rule, int32_t value, std::string& error);
// The dialog's confirmed garden values, in the order cycle_length, Speed,
// Build; false, naming the first value that could not be stored, when one fails.
bool WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build, std::string& error);

}  // namespace tessaly
