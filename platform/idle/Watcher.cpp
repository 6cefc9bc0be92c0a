#include "Watcher.h"

#include <sys/wait.h>

#include "linux/Clock.h"

namespace tessaly {

namespace {

// A lock minutes away may come a second late.
constexpr int64_t kLockSlackNs = kNsPerSecond;

std::string HowItEnded(int status) {
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "exit code " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

Watcher::Watcher(WatcherParts parts, SaverCommand saver, std::function<void(const std::string&)> say, bool stats)
    : parts_(parts), command_(std::move(saver)), say_(std::move(say)), stats_(stats) {}

bool Watcher::Start(int64_t waitMs, int64_t lockAfterMs, std::string& error) {
    state_.waitMs = waitMs;
    state_.lockAfterMs = lockAfterMs;
    lockTimer_.Attach(parts_.loop, kLockSlackNs, [this] {
        Stat("lock");
        parts_.lock.Lock();
    });
    Stat("watching " + std::string(parts_.source.Name()) + ", wait " + std::to_string(waitMs) + " ms");
    return parts_.inhibitors.Listen([this] { InhibitorsChanged(); }, error) &&
           parts_.source.Watch(parts_.loop, waitMs, {[this] { Idle(); }, [this] { Active(); }}, error);
}

void Watcher::SetTimes(int64_t waitMs, int64_t lockAfterMs) {
    state_.lockAfterMs = lockAfterMs;
    if (waitMs == state_.waitMs) return;
    state_.waitMs = waitMs;
    state_.idle = false;
    Stat("wait " + std::to_string(waitMs) + " ms");
    parts_.source.SetWait(waitMs);
}

void Watcher::Idle() {
    Stat("idle");
    state_.idle = true;
    ShowWhenFree();
}

void Watcher::Active() {
    Stat("active");
    state_.idle = false;
}

void Watcher::InhibitorsChanged() {
    if (parts_.service.Offered()) Stat("inhibitors " + std::to_string(parts_.service.Inhibitors()));
    ShowWhenFree();
}

// Idle, no garden yet, no inhibitor of ours: the session manager has the last word.
void Watcher::ShowWhenFree() {
    if (!state_.idle || saver_.Running() || state_.asking) return;
    if (parts_.service.Inhibited()) return Stat("inhibited");
    state_.asking = true;
    parts_.inhibitors.Ask([this](bool inhibited) {
        state_.asking = false;
        if (inhibited) return Stat("inhibited");
        if (state_.idle && !saver_.Running() && !parts_.service.Inhibited()) Show();
    });
}

void Watcher::Show() {
    std::string error;
    if (!saver_.Start(parts_.loop, command_.program, command_.arguments, [this](int status) { Ended(status); },
                      error))
        return say_(error);
    Stat("saver " + std::to_string(saver_.Pid()) + " started");
    if (state_.lockAfterMs > 0) lockTimer_.At(MonotonicNs() + state_.lockAfterMs * kNsPerMs);
}

void Watcher::Ended(int status) {
    lockTimer_.Off();
    Stat("saver ended, " + HowItEnded(status));
    // A saver that failed says why itself; the next idle period tries again.
}

void Watcher::Stat(const std::string& line) const {
    if (stats_) say_("stats " + line);
}

}  // namespace tessaly
