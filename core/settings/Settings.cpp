#include "settings/Settings.h"

namespace tessaly {

namespace {
// The stored value is unsigned; a value of 2^31 or more arrives negative,
// which is what keeps it out of the accepted ranges.
int32_t AsSigned(uint32_t stored) { return static_cast<int32_t>(stored); }
}  // namespace

bool SettingAccepts(const SettingRule& rule, int32_t value) {
    return !rule.checked || (value >= rule.min && value <= rule.max);
}

void LoadDefaults(GardenState& state) {
    for (const SettingRule& rule : kSettingRules) state.*rule.field = rule.defaultValue;
}

void LoadSettings(ProfileReader& reader, GardenState& state) {
    for (const SettingRule& rule : kSettingRules) {
        const uint32_t stored = static_cast<uint32_t>(rule.defaultValue);
        int32_t value = AsSigned(reader.GetProfileInt(kSettingsSection, rule.entry, stored));
        if (!SettingAccepts(rule, value)) value = rule.defaultValue;
        state.*rule.field = value;
    }
}

bool WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build, std::string& error) {
    const int32_t values[kSettingCount] = {cycleLength, speed, build};
    for (int i = 0; i < kSettingCount; ++i) {
        if (!writer.WriteProfileInt(kSettingsSection, kSettingRules[i].entry, values[i])) {
            error = std::string("cannot store the setting ") + kSettingRules[i].entry;
            return false;
        }
    }
    return true;
}

}  // namespace tessaly
