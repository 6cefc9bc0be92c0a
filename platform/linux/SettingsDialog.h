// The settings mode of the Linux program: the contract between `main` and the
// dialog that shows the three settings. The GTK dialog (platform/gtk)
// provides it in library `tessaly_settings_dialog`; where GTK is not built, a
// text fallback beside this file provides the same function.
#pragma once

#include <string>

#include "shell/SettingsDialogModel.h"
#include "state/GardenState.h"

namespace tessaly {

enum class DialogAnswer { Ok, Cancel };

// Runs the settings dialog modally with `values` as its initial state; its
// live preview draws from the process's `state`, and it shows the user where
// the settings are kept (`settingsFile`, empty when nowhere). On Ok, `values`
// holds the confirmed cycle length and speed (each within its slider's
// range) and build flag (0 or 1), which the caller writes to the settings
// file; on Cancel, or closing the window, nothing may be written. False,
// with the reason in `error`, when no dialog can be shown. argc/argv are the program's, for toolkit options.
bool RunSettingsDialog(GardenState& state, const std::string& settingsFile, SettingsValues& values, int argc,
                       char** argv, DialogAnswer& answer, std::string& error);

}  // namespace tessaly
