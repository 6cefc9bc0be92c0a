// The settings mode of the Linux program: the contract between `main` and the
// dialog that shows the three settings. The GTK dialog (platform/gtk)
// provides it in library `tessaly_settings_dialog`; where GTK is not built, a
// text fallback in platform/x11 provides the same function.
#pragma once

#include "shell/SettingsDialogModel.h"
#include "state/GardenState.h"

namespace tessaly {

// Runs the settings dialog modally with `values` as its initial state; its
// live preview draws from the process's `state`.
// Returns true when the user pressed OK; `values` then holds the confirmed
// cycle length (1..30), speed (1..100) and build flag (0 or 1), which the
// caller writes to the settings file. Returns false on Cancel, on closing the
// window, or when no dialog can be shown (then `failed` is set, so the caller
// can report it); `values` is then unspecified and nothing may be written.
// argc/argv are the program's, for toolkit options.
bool RunSettingsDialog(GardenState& state, SettingsValues& values, int argc, char** argv);

}  // namespace tessaly
