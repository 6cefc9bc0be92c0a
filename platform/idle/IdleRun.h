// A run of the idle watcher, from its command line to the session's end: the
// idle count the desktop offers (chosen at run time), the session's buses,
// the settings file watched, and the watcher on one event loop.
#pragma once

#include <string>

#include "linux/CommandLine.h"
#include "linux/Run.h"
#include "linux/SettingsFile.h"
#include "linux/SignalPipe.h"

namespace tessaly {

// The display the watcher's session is known by: the Wayland socket, or the X display.
std::string SessionDisplay(const CommandLine& commandLine);

// Watches until the session ends or a signal comes (`end` says which).
// `saver` is the program to start on idle; `file` has been read, and is read
// again when it changes. False, with the reason, when the watcher cannot run
// here (no idle count to be had, XScreenSaver's daemon on the display) or
// its connection to the desktop broke.
bool RunIdleWatcher(const CommandLine& commandLine, const std::string& saver, SettingsFile& file, SignalPipe& signals,
                    const Warn& warn, DrawingEnd& end, std::string& error);

}  // namespace tessaly
