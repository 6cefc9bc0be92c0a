#include "settings/Settings.h"

#include <sstream>

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
    for (const SettingRule& rule : kSettingRules)
        if (IsGardenSetting(rule)) state.*rule.field = rule.defaultValue;
}

int32_t LoadSetting(ProfileReader& reader, const SettingRule& rule) {
    const uint32_t stored = static_cast<uint32_t>(rule.defaultValue);
    const int32_t value = AsSigned(reader.GetProfileInt(kSettingsSection, rule.entry, stored));
    return SettingAccepts(rule, value) ? value : rule.defaultValue;
}

void LoadSettings(ProfileReader& reader, GardenState& state) {
    for (const SettingRule& rule : kSettingRules)
        if (IsGardenSetting(rule)) state.*rule.field = LoadSetting(reader, rule);
}

bool WriteSetting(ProfileWriter& writer, const SettingRule& rule, int32_t value, std::string& error) {
    if (writer.WriteProfileInt(kSettingsSection, rule.entry, value)) return true;
    error = std::string("cannot store the setting ") + rule.entry;
    return false;
}

bool WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build, std::string& error) {
    return WriteSetting(writer, kSettingRules[kCycleLengthSetting], cycleLength, error) &&
           WriteSetting(writer, kSettingRules[kSpeedSetting], speed, error) &&
           WriteSetting(writer, kSettingRules[kBuildSetting], build, error);
}

std::string SettingHelp(const SettingRule& rule, bool withDefault) {
    std::string limits;
    if (rule.checked) limits = std::to_string(rule.min) + ".." + std::to_string(rule.max);
    if (withDefault) limits += (limits.empty() ? "default " : ", default ") + std::to_string(rule.defaultValue);
    return limits.empty() ? rule.summary : std::string(rule.summary) + " (" + limits + ")";
}

std::string HelpEntry(const std::string& head, const std::string& text, std::size_t column, std::size_t width) {
    std::string out = head;
    std::size_t lineStart = 0;
    if (head.size() < column || head.empty()) {
        out.append(column - head.size(), ' ');
    } else {
        out += "\n";
        lineStart = out.size();
        out.append(column, ' ');
    }
    std::istringstream words(text);
    bool first = true;
    for (std::string word; words >> word; first = false) {
        // A bracketed note such as "(1..1000, default 5)" stays on one line.
        for (std::string more; word.front() == '(' && word.back() != ')' && words >> more;) word += ' ' + more;
        if (!first && out.size() - lineStart + 1 + word.size() > width) {
            out += "\n";
            lineStart = out.size();
            out.append(column, ' ');
        } else if (!first) {
            out += ' ';
        }
        out += word;
    }
    return out + "\n";
}

}  // namespace tessaly
