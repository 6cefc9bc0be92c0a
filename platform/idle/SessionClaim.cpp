#include "SessionClaim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/Printable.h"

namespace tessaly {

SessionClaim::~SessionClaim() {
    if (fd_ >= 0) close(fd_);
}

Claim SessionClaim::Take(const std::string& display, pid_t& holder, std::string& error) {
    holder = 0;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/') {
        error = "XDG_RUNTIME_DIR is not set: the session has no runtime folder to keep the watcher's lock in";
        return Claim::Failed;
    }
    std::string name = display;
    for (char& c : name)
        if (c == '/') c = '_';
    const std::string path = std::string(runtime) + "/tessaly-idle-" + name + ".lock";
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        error = "cannot open " + Printable(path) + ": " + std::strerror(errno);
        return Claim::Failed;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            error = "cannot lock " + Printable(path) + ": " + std::strerror(errno);
            return Claim::Failed;
        }
        char text[24] = {};
        if (pread(fd_, text, sizeof text - 1, 0) > 0) holder = static_cast<pid_t>(std::atol(text));
        return Claim::Held;
    }
    // Who holds it, for the second watcher's message.
    const std::string pid = std::to_string(getpid()) + "\n";
    if (ftruncate(fd_, 0) != 0 || pwrite(fd_, pid.data(), pid.size(), 0) < 0) {
        error = "cannot write " + Printable(path) + ": " + std::strerror(errno);
        return Claim::Failed;
    }
    return Claim::Ours;
}

}  // namespace tessaly
