// How `tessaly` hands a mode to another program of ours, in its own place
// (execv, before it reads anything): settings mode to tessaly-settings (the
// GTK dialog, some 6 MB the saver never loads) and --idle to tessaly-idle
// (the idle watcher, which stays small for the whole session). Each is looked
// for beside this program (the build folder), then where it is installed,
// relative to it (../libexec/tessaly).
#pragma once

#include <string>

namespace tessaly {

// Runs our program `name` (argv as given) from beside this program or from
// where it is installed; returns only when neither can run, with the path and
// the system's reason in `error` (`what` names the program for the user).
bool RunBeside(const char* name, const char* what, char** argv, std::string& error);

// Runs `tessaly-idle --saver=THIS_PROGRAM` with the rest of this command
// line; returns only when it cannot run, with its path and the system's
// reason in `error`. The watcher starts exactly this program as its saver.
bool HandOverIdleMode(char** argv, std::string& error);

// The hidden first argument that names the saver to tessaly-idle.
constexpr const char* kSaverArgument = "--saver=";

}  // namespace tessaly
