#include "AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tessaly {

namespace {

// Pending temporary names, readable from a signal handler: fixed buffers, no
// allocation. A slot whose first byte is 0 is free.
constexpr int kSlots = 4;
constexpr std::size_t kPathMax = 4096;
char pendingPaths[kSlots][kPathMax];
volatile sig_atomic_t pendingUsed[kSlots];

int Register(const std::string& path) {
    if (path.size() >= kPathMax) return -1;
    for (int i = 0; i < kSlots; ++i) {
        if (!pendingUsed[i]) {
            std::memcpy(pendingPaths[i], path.c_str(), path.size() + 1);
            pendingUsed[i] = 1;
            return i;
        }
    }
    return -1;
}

void Unregister(int slot) {
    if (slot >= 0) pendingUsed[slot] = 0;
}

extern "C" void RemovePendingAndDie(int signal) {
    for (int i = 0; i < kSlots; ++i) {
        if (pendingUsed[i]) unlink(pendingPaths[i]);
    }
    ::signal(signal, SIG_DFL);
    raise(signal);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path, std::string& error) {
    Discard();
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = "cannot write " + path + ": it is a folder";
        return false;
    }
    std::string pattern = FolderOf(path) + "/." + NameOf(path) + ".tmp-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; give it the permissions a new file gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    path_ = path;
    tempPath_ = buffer.data();
    slot_ = Register(tempPath_);
    return true;
}

bool AtomicFile::Commit(std::string& error) {
    if (tempPath_.empty()) {
        error = "nothing to write";
        return false;
    }
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        error = "cannot write " + path_ + ": " + std::strerror(errno);
        Discard();
        return false;
    }
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
    return true;
}

void AtomicFile::Discard() {
    if (tempPath_.empty()) return;
    unlink(tempPath_.c_str());
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
}

void AtomicFile::InstallSignalCleanup() {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::signal(s, RemovePendingAndDie);
}

}  // namespace tessaly
