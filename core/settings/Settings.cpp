#include "settings/Settings.h"

namespace tessaly {

// Static values until start-up loads the stored ones.
int32_t cycleLengthSetting = 10;
int32_t speedSetting = 60;
int32_t buildSetting = 0;

namespace {

// The stored value is unsigned; a value of 2^31 or more arrives negative,
// which is what keeps it out of the accepted ranges below.
int32_t AsSigned(uint32_t stored) { return static_cast<int32_t>(stored); }

struct RangeRule {
    const char* entry;
    int32_t* global;
    uint32_t defaultValue;
    bool checked;
    int32_t min, max;
};

}  // namespace

void LoadSettings(ProfileReader& reader) {
    const RangeRule rules[] = {
        {kCycleLengthEntry, &cycleLengthSetting, kDefaultCycleLength, true, 1, 1000},
        {kSpeedEntry, &speedSetting, kDefaultSpeed, true, 0, 100},
        {kBuildEntry, &buildSetting, kDefaultBuild, false, 0, 0},
    };
    for (const RangeRule& rule : rules) {
        int32_t value = AsSigned(reader.GetProfileInt(kSettingsSection, rule.entry, rule.defaultValue));
        if (rule.checked && (value < rule.min || value > rule.max)) value = AsSigned(rule.defaultValue);
        *rule.global = value;
    }
}

void WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build) {
    writer.WriteProfileInt(kSettingsSection, kCycleLengthEntry, cycleLength);
    writer.WriteProfileInt(kSettingsSection, kSpeedEntry, speed);
    writer.WriteProfileInt(kSettingsSection, kBuildEntry, build);
}

}  // namespace tessaly
