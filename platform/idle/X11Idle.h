// The X server's own idle time: the SYNC extension's IDLETIME counter, with
// two alarms that the server fires as the counter crosses the wait, upwards
// (idle) and downwards (input again). While the user works neither crosses:
// not one event reaches the watcher.
#pragma once

#include <xcb/sync.h>
#include <xcb/xcb.h>

#include "IdleSource.h"

namespace tessaly {

class X11Idle final : public IdleSource {
public:
    X11Idle() = default;
    ~X11Idle() override;
    X11Idle(const X11Idle&) = delete;
    X11Idle& operator=(const X11Idle&) = delete;

    // Connects to `display` ($DISPLAY when null) and finds the counter; false
    // with the reason when it cannot.
    bool Connect(const char* display, std::string& error);
    // Whether XScreenSaver's daemon runs on this display: it marks a
    // top-level window of its own with its version.
    bool XScreenSaverRuns();

    bool Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) override;
    void SetWait(int64_t waitMs) override;
    const char* Name() const override { return "the X server's IDLETIME counter"; }

private:
    void SetAlarms(bool create);
    // Tells the watcher what the counter says now, where that is news.
    void Report(int64_t idleMs);
    void Dispatch(xcb_generic_event_t* event);
    bool Lost();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_sync_counter_t counter_ = 0;
    xcb_sync_alarm_t alarms_[2] = {};  // crossing the wait upwards, and downwards
    uint8_t firstEvent_ = 0;
    int64_t waitMs_ = 0;
    bool idle_ = false;
    EventLoop* loop_ = nullptr;
    IdleEvents events_;
    tessaly::Watch socket_;
};

}  // namespace tessaly
