// How `tessaly` hands settings mode to tessaly-settings, the same program
// with the GTK dialog: the saver never loads the toolkit (some 6 MB of every
// run's memory), and the dialog starts as before. Looked for beside this
// program (the build folder), then where it is installed, relative to it.
// A build with the dialog must run it: only a build without it answers in text.
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "Messages.h"
#include "SettingsDialog.h"

namespace tessaly {

namespace {

std::string OwnFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    const std::string exe(path, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

}  // namespace

bool HandOverSettingsMode(char** argv, std::string& error) {
    if (!TESSALY_SETTINGS_PROGRAM) return true;  // built without the dialog: the text answer
    const std::string folder = OwnFolder();
    const std::string places[] = {folder + "tessaly-settings", folder + TESSALY_SETTINGS_FOLDER "tessaly-settings"};
    for (const std::string& program : places) {
        execv(program.c_str(), argv);  // returns only when it cannot run
        if (errno != ENOENT && errno != ENOTDIR) {
            error = "cannot run the settings dialog " + Printable(program) + ": " + std::strerror(errno);
            return false;
        }
    }
    error = "cannot run the settings dialog: tessaly-settings is in neither " + Printable(places[0]) + " nor " +
            Printable(places[1]);
    return false;
}

}  // namespace tessaly
