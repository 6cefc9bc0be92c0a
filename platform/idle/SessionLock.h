// Locking the session after the garden has shown for a while: the saver
// itself never pretends to be a lock. systemd-logind is asked to lock this
// session (LockSession; GNOME, KDE and the lock hooks of swayidle or
// xss-lock answer its Lock signal), and GNOME's shell is asked as well
// (org.gnome.ScreenSaver.Lock) where it is on the session bus.
#pragma once

#include <functional>
#include <string>

#include "Bus.h"

namespace tessaly {

class SessionLock {
public:
    // `sessionBus` may be null. `warn` hears, in one line, that no lock was had.
    SessionLock(EventLoop& loop, sd_bus* sessionBus, std::function<void(const std::string&)> warn)
        : loop_(loop), sessionBus_(sessionBus), warn_(std::move(warn)) {}

    void Lock();

private:
    void LockSession(const std::string& id);
    // One answer in: once all are, says so where nobody locked.
    void Answered(bool locked, const std::string& failure);

    EventLoop& loop_;
    sd_bus* sessionBus_;
    BusPtr systemBus_;
    std::function<void(const std::string&)> warn_;
    BusCall shell_, logind_;
    int pending_ = 0;
    bool locked_ = false;
    std::string failure_;
};

}  // namespace tessaly
