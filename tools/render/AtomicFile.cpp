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
    // Die of the same signal, as if it had not been caught: the default
    // action runs as soon as the handler returns and unblocks it.
    ::signal(signal, SIG_DFL);
    raise(signal);
}

// Signals whose default action ends the process (SIGKILL and SIGSTOP cannot
// be caught). Writing into a closed pipe or past the file size limit should
// fail the write, which is then reported, instead of ending the run: those
// two are ignored. The real-time signals follow, from SIGRTMIN to SIGRTMAX.
constexpr int kIgnoredSignals[] = {SIGPIPE, SIGXFSZ};
constexpr int kFatalSignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGILL,    SIGTRAP,   SIGABRT, SIGBUS, SIGFPE, SIGUSR1, SIGSEGV,
    SIGUSR2, SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,  SIGPWR,  SIGSYS,
};

// Sets `action` for `signal` unless the process was started with it ignored
// (nohup, a shell's background job, `trap '' HUP`): that choice is kept.
void SetUnlessIgnored(int signal, void (*action)(int)) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) return;
    struct sigaction wanted {};
    wanted.sa_handler = action;
    sigfillset(&wanted.sa_mask);  // one cleanup at a time
    sigaction(signal, &wanted, nullptr);
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
    for (int s : kIgnoredSignals) SetUnlessIgnored(s, SIG_IGN);
    for (int s : kFatalSignals) SetUnlessIgnored(s, RemovePendingAndDie);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) SetUnlessIgnored(s, RemovePendingAndDie);
}

}  // namespace tessaly
