// org.freedesktop.ScreenSaver on the session bus, for X11 desktops where
// nobody else offers it: a video player calls Inhibit while it plays and
// UnInhibit after, and the garden waits meanwhile. An inhibitor whose program
// leaves the bus (ends, crashes) goes with it. Where GNOME's session manager
// answers, it takes inhibitors itself and this is not offered: GNOME's own
// blanking would not hear of them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Bus.h"

namespace tessaly {

class ScreenSaverService {
public:
    // Takes the name where it is free; `changed` after each inhibitor comes
    // or goes. True also when someone else has the name (then nothing is
    // offered); false only when the bus failed.
    bool Offer(sd_bus* bus, std::function<void()> changed, std::string& error);
    bool Offered() const { return offered_; }
    std::size_t Inhibitors() const { return inhibitors_.size(); }
    bool Inhibited() const { return !inhibitors_.empty(); }

private:
    struct Inhibitor {
        ScreenSaverService* service;
        uint32_t cookie;
        TrackPtr client;  // the caller on the bus, until it leaves
    };
    void Remove(uint32_t cookie);
    static int OnInhibit(sd_bus_message* call, void* self, sd_bus_error* error);
    static int OnUnInhibit(sd_bus_message* call, void* self, sd_bus_error* error);
    static int OnClientLeft(sd_bus_track*, void* inhibitor);

    bool offered_ = false;
    std::function<void()> changed_;
    std::map<uint32_t, std::unique_ptr<Inhibitor>> inhibitors_;
    uint32_t nextCookie_ = 1;
    Slot objects_[2];
};

}  // namespace tessaly
