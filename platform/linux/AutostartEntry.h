// The user's autostart entry for the idle watcher, which the settings
// dialog's "Start the garden when the computer is idle" writes or removes:
//   $XDG_CONFIG_HOME/autostart/tessaly-idle.desktop   (~/.config/autostart)
// GNOME, KDE Plasma, Xfce, MATE, Cinnamon and LXQt run it at login. It is
// the user's own file, never installed system-wide; its presence is the
// box's state.
#pragma once

#include <string>

namespace tessaly {

// Where the entry is; empty when there is no configuration folder.
std::string AutostartEntryPath();
bool AutostartEntryExists();
// Writes the entry (whole, through a temporary renamed over it) or removes
// it; false with a one-line reason when that fails.
bool SetAutostartEntry(bool wanted, std::string& error);

// What the entry holds: `tessaly --idle` at login, skipped where tessaly is
// no longer installed.
extern const char* const kAutostartEntryText;

}  // namespace tessaly
