// The one clock of both display backends, monotonic nanoseconds (the clock
// of their event loop's timers): a canvas's timer, and the memory figure of
// their --stats lines.
#pragma once

#include <time.h>

#include <cstdint>

namespace tessaly {

constexpr int64_t kNsPerMs = 1000000;
constexpr int64_t kNsPerSecond = 1000000000;

inline int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

// A canvas's timer. A tick that comes a little late is made up at once, but
// after falling a whole period behind (a SIGSTOP, a suspended machine) the
// period is taken up from then instead of firing a burst.
class TickTimer {
public:
    void Start(unsigned periodMs) {
        ticking_ = true;
        periodNs_ = static_cast<int64_t>(periodMs > 0 ? periodMs : 1) * kNsPerMs;
        deadlineNs_ = MonotonicNs() + periodNs_;
    }
    void Stop() { ticking_ = false; }
    int64_t Period() const { return periodNs_; }
    int64_t Deadline() const { return deadlineNs_; }
    // True when a tick is due at `now`; the next one is then set.
    bool Due(int64_t now) {
        if (!ticking_ || now < deadlineNs_) return false;
        deadlineNs_ += periodNs_;
        if (deadlineNs_ + periodNs_ <= now) deadlineNs_ = now + periodNs_;
        return true;
    }

private:
    bool ticking_ = false;
    int64_t periodNs_ = 0, deadlineNs_ = 0;
};

// The process's resident memory, for the stats line; 0 when unknown.
long ResidentKilobytes();

}  // namespace tessaly
