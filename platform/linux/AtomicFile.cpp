#include "AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "Messages.h"

namespace tessaly {

namespace {

// Pending temporary names, readable from a signal handler: fixed buffers, no
// allocation. A slot whose first byte is 0 is free.
constexpr int kSlots = 4;
constexpr std::size_t kPathMax = 4096;
char pendingPaths[kSlots][kPathMax];
volatile sig_atomic_t pendingUsed[kSlots];
void (*volatile alsoOnSignal)() = nullptr;

// ".NAME.tmp-" and six characters of mkstemp's choosing.
constexpr const char* kTemporaryInfix = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;
constexpr int kTemporaryAttempts = 5;
// Links followed to the file they stand for, as the system itself allows.
constexpr int kMaxLinks = 40;

// A free slot, marked in use with an empty name; -1 when all are taken.
int Register() {
    for (int i = 0; i < kSlots; ++i) {
        if (!pendingUsed[i]) {
            pendingPaths[i][0] = '\0';
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
        if (pendingUsed[i] && pendingPaths[i][0] != '\0') unlink(pendingPaths[i]);
    }
    if (alsoOnSignal != nullptr) alsoOnSignal();
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

std::string ErrorText(int error) { return std::strerror(error); }

std::string CannotWrite(const std::string& path, const std::string& reason) {
    return "cannot write " + Printable(path) + ": " + reason;
}

// The file `path` stands for: the end of its symbolic links (a relative
// link is read from the link's folder), which need not exist yet.
bool FollowLinks(std::string path, std::string& target, std::string& error) {
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        std::vector<char> link(PATH_MAX);
        const ssize_t n = readlink(path.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) break;
        const std::string to(link.data(), static_cast<std::size_t>(n));
        path = to[0] == '/' ? to : FolderOf(path) + "/" + to;
    }
    error = CannotWrite(path, ErrorText(ELOOP));
    return false;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kTemporaryRandomLength || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// A writer holds a lock on its temporary until the rename, and the lock
// dies with it: a temporary that can be locked was left by a writer that
// was killed, and is removed. Files of other names are never touched.
void RemoveStaleTemporaries(const std::string& folderPath, const std::string& prefix) {
    DIR* folder = opendir(folderPath.c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = readdir(folder)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const int fd = openat(dirfd(folder), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirfd(folder), entry->d_name, 0);
        close(fd);
    }
    closedir(folder);
}

// Creates and locks a new temporary named `prefix` and six characters. The
// name is made in place in the slot a signal handler reads (`slot` when one
// is free), so that a signal at any moment removes what exists. The lock is
// taken on the file that still has the name: a cleaner may have removed it
// in between.
int CreateTemporary(const std::string& prefix, int slot, std::string& temporary) {
    std::vector<char> spare(kPathMax);
    char* name = slot >= 0 ? pendingPaths[slot] : spare.data();
    if (prefix.size() + kTemporaryRandomLength >= kPathMax) {
        errno = ENAMETOOLONG;
        return -1;
    }
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        std::memcpy(name, prefix.c_str(), prefix.size());
        std::memset(name + prefix.size(), 'X', kTemporaryRandomLength);
        name[prefix.size() + kTemporaryRandomLength] = '\0';
        const int fd = mkostemp(name, O_CLOEXEC);
        if (fd < 0) return -1;
        struct stat opened {}, named {};
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &opened) == 0 && stat(name, &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            temporary = name;
            return fd;
        }
        close(fd);
    }
    errno = EAGAIN;
    return -1;
}

// mkstemp makes the file ours and private. A file that is replaced keeps
// its owner (where the system lets us give it away: root always, others
// their own groups) and its permissions; a new one gets what a new file gets.
bool TakeOwnerAndMode(int fd, const struct stat* existing) {
    if (existing == nullptr) {
        const mode_t mask = umask(0);
        umask(mask);
        return fchmod(fd, 0666 & ~mask) == 0;
    }
    if ((existing->st_uid != geteuid() || existing->st_gid != getegid()) &&
        fchown(fd, existing->st_uid, existing->st_gid) != 0)
        (void)!fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
    return fchmod(fd, existing->st_mode & 07777) == 0;
}

}  // namespace

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

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path, std::string& error, PipeReader pipe) {
    Discard();
    // What the name stands for in the end, as the system follows its links.
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = CannotWrite(path, "it is a folder");
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) return OpenInPlace(path, S_ISFIFO(existing.st_mode), pipe, error);
    std::string target;
    if (!FollowLinks(path, target, error)) return false;
    const std::string prefix = "." + NameOf(target) + kTemporaryInfix;
    RemoveStaleTemporaries(FolderOf(target), prefix);
    std::string temporary;
    const int slot = Register();
    const int fd = CreateTemporary(FolderOf(target) + "/" + prefix, slot, temporary);
    if (fd < 0) {
        error = CannotWrite(path, ErrorText(errno));
        Unregister(slot);
        return false;
    }
    if (!TakeOwnerAndMode(fd, exists ? &existing : nullptr)) {
        error = CannotWrite(path, ErrorText(errno));
        unlink(temporary.c_str());
        close(fd);
        Unregister(slot);
        return false;
    }
    path_ = target;
    tempPath_ = temporary;
    fd_ = fd;
    slot_ = slot;
    return true;
}

// A pipe, a device or /dev/stdout: opened by the name as given, since only
// the system can follow /proc's links to a pipe. Nothing is ever removed.
bool AtomicFile::OpenInPlace(const std::string& path, bool isPipe, PipeReader pipe, std::string& error) {
    const bool atOnce = isPipe && pipe == PipeReader::Required;
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | (atOnce ? O_NONBLOCK : 0));
    if (fd < 0) {
        error = CannotWrite(path, atOnce && errno == ENXIO ? "nothing reads from that pipe" : ErrorText(errno));
        return false;
    }
    if (atOnce) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    path_ = path;
    tempPath_ = path;
    inPlace_ = true;
    fd_ = fd;
    return true;
}

bool AtomicFile::Commit(std::string& error, bool sync) {
    if (tempPath_.empty()) {
        error = "nothing to write";
        return false;
    }
    if (inPlace_) {
        const int fd = fd_;
        fd_ = -1;
        tempPath_.clear();
        inPlace_ = false;
        if (close(fd) != 0) {
            error = CannotWrite(path_, ErrorText(errno));
            return false;
        }
        return true;
    }
    // The lock on the temporary is held until it has its real name.
    if ((sync && fsync(fd_) != 0) || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        error = CannotWrite(path_, ErrorText(errno));
        Discard();
        return false;
    }
    close(fd_);
    fd_ = -1;
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
    return true;
}

void AtomicFile::Discard() {
    if (tempPath_.empty()) return;
    if (!inPlace_) unlink(tempPath_.c_str());
    inPlace_ = false;
    close(fd_);
    fd_ = -1;
    Unregister(slot_);
    slot_ = -1;
    tempPath_.clear();
}

void AtomicFile::InstallSignalCleanup(void (*also)()) {
    alsoOnSignal = also;
    for (int s : kIgnoredSignals) SetUnlessIgnored(s, SIG_IGN);
    for (int s : kFatalSignals) SetUnlessIgnored(s, RemovePendingAndDie);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) SetUnlessIgnored(s, RemovePendingAndDie);
}

}  // namespace tessaly
