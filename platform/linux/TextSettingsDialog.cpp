// The settings mode where the GTK dialog is not built: there is no window to
// show, so tell the user where the settings are, what they hold and how to
// change them, each setting as the table describes it and as loaded into
// the process's garden. Nothing is confirmed, so nothing is written.
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Messages.h"
#include "SettingsDialog.h"
#include "settings/Settings.h"

namespace tessaly {

namespace {
constexpr std::size_t kKeyColumn = 20;
constexpr std::size_t kWidth = 80;
}  // namespace

bool RunSettingsDialog(GardenState&, const std::string& settingsFile, DialogSettings& settings, int, char**,
                       DialogAnswer& answer, std::string&) {
    const std::string file = settingsFile.empty() ? "(no home folder found)" : Printable(settingsFile);
    std::string keys, options;
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRule& rule = kSettingRules[i];
        const std::string key = "  " + std::string(rule.entry) + "=" + std::to_string(settings.values[i]);
        keys += HelpEntry(key, SettingHelp(rule, true), kKeyColumn, kWidth);
        if (IsGardenSetting(rule)) options += (i == 0 ? "" : ", ") + SettingOptionSyntax(rule, " or ");
    }
    std::printf(
        "Tessaly was built without its settings dialog.\n"
        "Settings file: %s\n"
        "  [%s]\n"
        "%s%s",
        file.c_str(), kSettingsSection, keys.c_str(),
        HelpEntry("", "Edit that file to change them, or try one run with " + options +
                          ". Under XScreenSaver, use its settings for Tessaly.",
                  0, kWidth)
            .c_str());
    answer = DialogAnswer::Cancel;
    return true;
}

}  // namespace tessaly
