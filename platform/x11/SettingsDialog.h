// The settings mode of the Linux program: the contract between `main` and the
// dialog that shows the three settings. The GTK dialog (platform/gtk) provides
// it in library `tessaly_settings_dialog`; where GTK is not built, a text
// fallback in this folder provides the same function.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

struct SettingsValues {
    int32_t cycleLength = 5;  // as loaded (may be out of the slider's 1..30)
    int32_t speed = 60;       // as loaded (may be out of the slider's 1..100)
    int32_t build = 0;        // as loaded (any value; 1 means step by step)
    std::string settingsFile; // where the values are stored, for display
    bool failed = false;      // set when no dialog could be shown at all
};

// Runs the settings dialog modally with `values` as its initial state.
// Returns true when the user pressed OK; `values` then holds the confirmed
// cycle length (1..30), speed (1..100) and build flag (0 or 1), which the
// caller writes to the settings file. Returns false on Cancel, on closing the
// window, or when no dialog can be shown (then `failed` is set, so the caller
// can report it); `values` is then unspecified and nothing may be written. argc/argv are the program's, for toolkit options.
bool RunSettingsDialog(SettingsValues& values, int argc, char** argv);

}  // namespace tessaly
