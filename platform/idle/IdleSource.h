// Where the watcher learns that the user has been idle for the wait, and that
// they are back: from the desktop's own count of idle time, event by event,
// never by asking again and again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "linux/EventLoop.h"

namespace tessaly {

struct IdleEvents {
    std::function<void()> idle;    // no input for the wait
    std::function<void()> active;  // input again after idle
};

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Starts counting on `loop`: `events` from then on, an idle at once where
    // the user is idle for the wait already. A connection that breaks fails
    // the loop with its reason.
    virtual bool Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) = 0;
    // A new wait, counted from now on; the user counts as active until it passes.
    virtual void SetWait(int64_t waitMs) = 0;
    // What it counts by, for the statistics.
    virtual const char* Name() const = 0;
};

}  // namespace tessaly
