// How `tessaly` hands settings mode to tessaly-settings, the same program
// with the GTK dialog: the saver never loads the toolkit (some 6 MB of every
// run's memory), and the dialog starts as before. Looked for beside this
// program (the build folder), then where it is installed, relative to it.
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string>

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

void HandOverSettingsMode(char** argv) {
    const std::string folder = OwnFolder();
    if (folder.empty()) return;
    for (const std::string& program : {folder + "tessaly-settings", folder + TESSALY_SETTINGS_FOLDER "tessaly-settings"}) {
        // Only a program that is not there lets this one answer in text.
        if (access(program.c_str(), X_OK) == 0) execv(program.c_str(), argv);
    }
}

}  // namespace tessaly
