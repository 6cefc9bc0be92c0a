// sd-bus, owned the C++ way, on the watcher's event loop: the connections,
// the slots that keep a call, a match or an object alive, and calls whose
// reply comes back through the loop.
#pragma once

#include <systemd/sd-bus.h>

#include <functional>
#include <memory>
#include <string>

#include "linux/EventLoop.h"

namespace tessaly {

struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct SlotUnref {
    void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct TrackUnref {
    void operator()(sd_bus_track* track) const { sd_bus_track_unref(track); }
};
using BusPtr = std::unique_ptr<sd_bus, BusUnref>;
using Slot = std::unique_ptr<sd_bus_slot, SlotUnref>;
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;
using TrackPtr = std::unique_ptr<sd_bus_track, TrackUnref>;

enum class BusKind { Session, System };

// The session or the system bus, attached to `loop`; null, with the reason,
// when there is none.
BusPtr OpenBus(EventLoop& loop, BusKind kind, std::string& error);

// One line for a failed call: the bus's message, else the system's.
std::string BusErrorText(const sd_bus_error* error, int code);

// Whether a name has an owner on the bus (asked once, at start-up).
bool HasOwner(sd_bus* bus, const char* name);

// A method call that starts no service: one whose name has no owner fails at
// once instead. Arguments are appended to it before Send.
MessagePtr NewCall(sd_bus* bus, const char* destination, const char* path, const char* interface,
                   const char* member);

// One call at a time whose reply (or error: `error` set) comes through the loop.
class BusCall {
public:
    using Reply = std::function<void(sd_bus_message* reply, const sd_bus_error* error)>;
    // Sends `call`; a call still pending is dropped. False with the reason
    // when it cannot be sent (`reply` is not called then).
    bool Send(sd_bus* bus, MessagePtr call, Reply reply, std::string& error);

private:
    static int OnReply(sd_bus_message* reply, void* self, sd_bus_error*);
    Slot slot_;
    Reply reply_;
};

}  // namespace tessaly
