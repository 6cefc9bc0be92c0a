// The settings mode of the Linux program: the contract between `main` and the
// dialog that shows the settings. The GTK dialog (platform/gtk, library
// `tessaly_settings_dialog`) provides it in the program tessaly-settings;
// `tessaly` itself links the text answer beside this file and hands
// settings mode over to tessaly-settings where that is installed.
#pragma once

#include <string>

#include "shell/SettingsDialogModel.h"
#include "state/GardenState.h"

namespace tessaly {

enum class DialogAnswer { Ok, Cancel };

// What the Linux dialog shows and confirms: the stored settings, and whether
// the idle watcher starts at login (its autostart entry, which is no stored
// value).
struct DialogSettings {
    SettingsValues values;
    bool startWhenIdle = false;
};

// Runs the settings dialog modally with `settings` as its initial state; its
// live preview draws from the process's `state`, and it shows the user where
// the settings are kept (`settingsFile`, empty when nowhere). On Ok,
// `settings` holds the confirmed cycle length and speed (each within its
// slider's range), build flag (0 or 1), the idle watcher's wait and lock
// (each within its range) and the autostart box, which the caller stores;
// on Cancel, or closing the window, nothing may be written. False, with the
// reason in `error`, when no dialog can be shown. argc/argv are the
// program's, for toolkit options.
bool RunSettingsDialog(GardenState& state, const std::string& settingsFile, DialogSettings& settings, int argc,
                       char** argv, DialogAnswer& answer, std::string& error);

// Before settings mode reads anything: runs tessaly-settings in this process
// with the same command line (it does not return then). True in a build
// without the dialog and in tessaly-settings itself; false, with the path
// and the system's reason in `error`, when the dialog's program cannot run.
bool HandOverSettingsMode(char** argv, std::string& error);

}  // namespace tessaly
