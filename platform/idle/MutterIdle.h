// GNOME's idle count, on the session bus: Mutter's org.gnome.Mutter.IdleMonitor
// (an idle watch at the wait, and after each idle a user-active watch), told
// back through its WatchFired signal. Mutter offers Wayland clients no idle
// protocol, and its count ignores inhibitors: the watcher asks GNOME's
// session manager about those before it shows the garden.
#pragma once

#include <cstdint>
#include <string>

#include "Bus.h"
#include "IdleSource.h"

namespace tessaly {

class MutterIdle final : public IdleSource {
public:
    explicit MutterIdle(sd_bus* bus) : bus_(bus) {}

    // Whether Mutter's idle monitor is on the bus.
    bool Present() const;

    bool Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) override;
    void SetWait(int64_t waitMs) override;
    const char* Name() const override { return "GNOME's org.gnome.Mutter.IdleMonitor"; }

private:
    enum class Kind { Idle, Active };
    // Adds a watch of that kind; its id comes in the reply.
    void Add(Kind kind);
    void Fired(uint32_t id);
    static int OnFired(sd_bus_message* message, void* self, sd_bus_error*);
    static int OnOwnerChanged(sd_bus_message* message, void* self, sd_bus_error*);

    sd_bus* bus_;
    EventLoop* loop_ = nullptr;
    IdleEvents events_;
    int64_t waitMs_ = 0;
    uint32_t watchIds_[2] = {};  // by Kind; 0 while none is set
    BusCall adding_[2];
    BusCall removing_;
    Slot firedMatch_, ownerMatch_;
};

}  // namespace tessaly
