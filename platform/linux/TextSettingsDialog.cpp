// The settings mode where the GTK dialog is not built: there is no window to
// show, so tell the user where the settings are, what they hold and how to
// change them. Nothing is confirmed, so nothing is written.
#include <cstdio>
#include <string>

#include "Messages.h"
#include "SettingsDialog.h"

namespace tessaly {

bool RunSettingsDialog(GardenState&, const std::string& settingsFile, SettingsValues& values, int, char**,
                       DialogAnswer& answer, std::string&) {
    const std::string file = settingsFile.empty() ? "(no home folder found)" : Printable(settingsFile);
    std::printf(
        "Tessaly was built without its settings dialog.\n"
        "Settings file: %s\n"
        "  [Config]\n"
        "  cycle_length=%d   scenes of one kind before the next, x40 (1..1000, default 5)\n"
        "  Speed=%d          0 (slow) .. 100 (fast), a tick every 505-5*Speed ms (default 60)\n"
        "  Build=%d          1 shows each drawing figure by figure, 0 all at once (default 0)\n"
        "Edit that file to change them, or try one run with --cycle-length N, --speed N,\n"
        "--build or --no-build. Under XScreenSaver, use its settings for Tessaly.\n",
        file.c_str(), values.cycleLength, values.speed, values.build);
    answer = DialogAnswer::Cancel;
    return true;
}

}  // namespace tessaly
