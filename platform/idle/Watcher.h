// The idle watcher's rules: when the desktop says the user has been idle for
// the wait, and nothing holds idleness back, the saver starts on every
// monitor as a child process; the user's first input ends it (the saver's own
// rule), and the watcher waits for the next idle period. A lock, when asked
// for, comes after the garden has shown for its time.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "IdleSource.h"
#include "SaverProcess.h"
#include "ScreenSaverService.h"
#include "SessionInhibitors.h"
#include "SessionLock.h"
#include "linux/EventLoop.h"

namespace tessaly {

// What the watcher knows, in one place.
struct WatcherState {
    int64_t waitMs = 0;        // idle this long before the garden starts
    int64_t lockAfterMs = 0;   // the garden this long before the session locks; 0: never
    bool idle = false;         // idle for the wait, as the desktop counts
    bool asking = false;       // the session manager is being asked about inhibitors
};

// What a run of the watcher is made of; it outlives the watcher.
struct WatcherParts {
    EventLoop& loop;
    IdleSource& source;
    SessionInhibitors& inhibitors;  // GNOME's session manager
    ScreenSaverService& service;    // org.freedesktop.ScreenSaver, X11
    SessionLock& lock;
};

// The saver to start: the program and its arguments.
struct SaverCommand {
    std::string program;
    std::vector<std::string> arguments;
};

class Watcher {
public:
    // `say` hears the statistics lines (with `stats`) and the saver's failures.
    Watcher(WatcherParts parts, SaverCommand saver, std::function<void(const std::string&)> say, bool stats);

    bool Start(int64_t waitMs, int64_t lockAfterMs, std::string& error);
    // New times from the settings file: the wait counts from now on.
    void SetTimes(int64_t waitMs, int64_t lockAfterMs);
    // An inhibitor came or went (ours or the session manager's): the garden may come.
    void InhibitorsChanged();

private:
    void Idle();
    void Active();
    void ShowWhenFree();
    void Show();
    void Ended(int status);
    void Stat(const std::string& line) const;

    WatcherParts parts_;
    SaverCommand command_;
    std::function<void(const std::string&)> say_;
    bool stats_;
    WatcherState state_;
    SaverProcess saver_;
    Timer lockTimer_;
};

}  // namespace tessaly
