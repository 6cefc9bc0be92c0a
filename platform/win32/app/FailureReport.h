// How tessaly.scr says why it stopped. A screen saver has no console: the
// reason goes to the debug output as one line ("tessaly: REASON", for a
// debugger or a debug-output monitor), and the exit code tells what kind of
// failure it was. Only where the user is looking at the saver, in its
// settings mode, does a message box show the reason as well: a saver that
// the system started, or a preview in the control panel's small window,
// never waits on a box that nobody may see.
#pragma once

#include <string>

namespace tessaly::win32 {

void ReportFailure(const std::string& reason, bool userIsLooking);

}  // namespace tessaly::win32
