// The one clock of both display backends, monotonic nanoseconds, and the
// once-a-second beat of their --stats lines.
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

// Due once a second, the first time a second after the first call; a late
// call does not bring the next one forward.
class StatsBeat {
public:
    bool Due(int64_t now) {
        if (next_ == 0) next_ = now + kNsPerSecond;
        if (now < next_) return false;
        next_ += kNsPerSecond;
        if (next_ <= now) next_ = now + kNsPerSecond;
        return true;
    }
    int64_t Next() const { return next_; }

private:
    int64_t next_ = 0;
};

// The process's resident memory, for the stats line; 0 when unknown.
long ResidentKilobytes();

}  // namespace tessaly
