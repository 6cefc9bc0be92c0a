#include "SettingsWatch.h"

#include <limits.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "linux/AtomicFile.h"
#include "linux/SettingsFile.h"
#include "shell/Printable.h"

namespace tessaly {

namespace {

constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;

}  // namespace

SettingsWatch::~SettingsWatch() {
    if (fd_ >= 0) close(fd_);
}

bool SettingsWatch::Start(EventLoop& loop, const std::string& path, std::function<void()> changed, std::string& error) {
    changed_ = std::move(changed);
    if (path.empty()) return true;  // no home folder: nothing to watch
    if (!MakeParentFolders(path, error)) return false;
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    std::vector<std::string> places{path};
    char target[PATH_MAX];
    if (realpath(path.c_str(), target) != nullptr && FolderOf(target) != FolderOf(path)) places.push_back(target);
    for (const std::string& place : places) {
        const int descriptor = fd_ < 0 ? -1 : inotify_add_watch(fd_, FolderOf(place).c_str(), kChanges);
        if (descriptor < 0) {
            error = "cannot watch " + Printable(FolderOf(place)) + " for new settings: " + std::strerror(errno);
            return false;
        }
        watched_.push_back({descriptor, NameOf(place)});
    }
    watch_.Attach(loop, fd_, EPOLLIN, [this](uint32_t) { Read(); });
    return loop.Ok(error);
}

void SettingsWatch::Read() {
    alignas(inotify_event) char buffer[4096];
    bool ours = false;
    for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            for (const Watched& w : watched_)
                ours = ours || (event->wd == w.descriptor && event->len > 0 && w.name == event->name);
            at += sizeof(inotify_event) + event->len;
        }
    }
    if (ours) changed_();
}

}  // namespace tessaly
