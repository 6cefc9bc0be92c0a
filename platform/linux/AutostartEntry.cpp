#include "AutostartEntry.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "AtomicFile.h"
#include "Messages.h"
#include "SettingsFile.h"

namespace tessaly {

const char* const kAutostartEntryText =
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Name=Tessaly idle watcher\n"
    "Comment=Shows the Tessaly garden when the computer is idle\n"
    "Exec=tessaly --idle\n"
    "TryExec=tessaly\n"
    "NoDisplay=true\n"
    "X-GNOME-Autostart-enabled=true\n";

std::string AutostartEntryPath() {
    const std::string folder = ConfigFolder();
    return folder.empty() ? "" : folder + "/autostart/tessaly-idle.desktop";
}

bool AutostartEntryExists() {
    const std::string path = AutostartEntryPath();
    return !path.empty() && access(path.c_str(), F_OK) == 0;
}

bool SetAutostartEntry(bool wanted, std::string& error) {
    const std::string path = AutostartEntryPath();
    if (path.empty()) {
        error = "no home folder to keep the autostart entry in";
        return false;
    }
    if (!wanted) {
        if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
        error = "cannot remove " + Printable(path) + ": " + std::strerror(errno);
        return false;
    }
    if (!MakeParentFolders(path, error)) return false;
    AtomicFile file;
    if (!file.Open(path, error, PipeReader::Required)) return false;
    const std::size_t length = std::strlen(kAutostartEntryText);
    if (write(file.Fd(), kAutostartEntryText, length) != static_cast<ssize_t>(length)) {
        error = "cannot write " + Printable(path) + ": " + std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return file.Commit(error, true);
}

}  // namespace tessaly
