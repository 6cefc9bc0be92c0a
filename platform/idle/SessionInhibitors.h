// GNOME's session manager (org.gnome.SessionManager), where one answers on
// the session bus: whether a program holds idleness back (inhibitor flag 8,
// as a video player does), and when an inhibitor goes. Mutter's idle count
// ignores inhibitors, so the watcher asks before it shows the garden. No
// session manager (a bare compositor, most X11 desktops) means no inhibitor.
#pragma once

#include <functional>
#include <string>

#include "Bus.h"

namespace tessaly {

class SessionInhibitors {
public:
    // `bus` may be null: then nothing is ever inhibited.
    explicit SessionInhibitors(sd_bus* bus) : bus_(bus) {}

    // Hears of inhibitors going from now on: `removed` each time.
    bool Listen(std::function<void()> removed, std::string& error);
    // Asks whether idleness is inhibited; `answer` (at once where there is no
    // bus) says so only when the session manager does.
    void Ask(std::function<void(bool inhibited)> answer);

private:
    static int OnRemoved(sd_bus_message*, void* self, sd_bus_error*);
    sd_bus* bus_;
    std::function<void()> removed_;
    Slot match_;
    BusCall asking_;
};

}  // namespace tessaly
