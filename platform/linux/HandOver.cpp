#include "HandOver.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "Messages.h"

namespace tessaly {

namespace {

std::string OwnPath() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n <= 0 ? "" : std::string(path, static_cast<std::size_t>(n));
}

}  // namespace

bool RunBeside(const char* name, const char* what, char** argv, std::string& error) {
    const std::string own = OwnPath();
    const std::string folder = own.substr(0, own.rfind('/') + 1);
    const std::string places[] = {folder + name, folder + TESSALY_LIBEXEC_FOLDER + name};
    for (const std::string& program : places) {
        execv(program.c_str(), argv);  // returns only when it cannot run
        if (errno != ENOENT && errno != ENOTDIR) {
            error = std::string("cannot run ") + what + " " + Printable(program) + ": " + std::strerror(errno);
            return false;
        }
    }
    error = std::string("cannot run ") + what + ": " + name + " is in neither " + Printable(places[0]) + " nor " +
            Printable(places[1]);
    return false;
}

bool HandOverIdleMode(char** argv, std::string& error) {
    const std::string saver = kSaverArgument + OwnPath();
    std::vector<char*> arguments{const_cast<char*>("tessaly-idle"), const_cast<char*>(saver.c_str())};
    for (char** argument = argv + 1; *argument != nullptr; ++argument) arguments.push_back(*argument);
    arguments.push_back(nullptr);
    return RunBeside("tessaly-idle", "the idle watcher", arguments.data(), error);
}

}  // namespace tessaly
