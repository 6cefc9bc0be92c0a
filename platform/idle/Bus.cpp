#include "Bus.h"

#include <cstring>

namespace tessaly {

BusPtr OpenBus(EventLoop& loop, BusKind kind, std::string& error) {
    sd_bus* bus = nullptr;
    int result = kind == BusKind::Session ? sd_bus_open_user(&bus) : sd_bus_open_system(&bus);
    BusPtr owned(bus);
    if (result >= 0) result = sd_bus_attach_event(bus, loop.Get(), SD_EVENT_PRIORITY_NORMAL);
    if (result < 0) {
        error = std::string("cannot connect to the ") + (kind == BusKind::Session ? "session" : "system") +
                " bus: " + std::strerror(-result);
        return nullptr;
    }
    return owned;
}

std::string BusErrorText(const sd_bus_error* error, int code) {
    if (error != nullptr && sd_bus_error_is_set(error) && error->message != nullptr) return error->message;
    if (error != nullptr && sd_bus_error_is_set(error)) return error->name;
    return std::strerror(code < 0 ? -code : code);
}

bool HasOwner(sd_bus* bus, const char* name) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    int has = 0;
    if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner", &error, &reply, "s", name) >= 0)
        sd_bus_message_read(reply, "b", &has);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return has != 0;
}

MessagePtr NewCall(sd_bus* bus, const char* destination, const char* path, const char* interface,
                   const char* member) {
    sd_bus_message* call = nullptr;
    if (sd_bus_message_new_method_call(bus, &call, destination, path, interface, member) < 0) return nullptr;
    sd_bus_message_set_auto_start(call, 0);
    return MessagePtr(call);
}

bool BusCall::Send(sd_bus* bus, MessagePtr call, Reply reply, std::string& error) {
    slot_.reset();
    sd_bus_slot* slot = nullptr;
    const int result = call ? sd_bus_call_async(bus, &slot, call.get(), OnReply, this, 0) : -ENOMEM;
    if (result < 0) {
        error = std::strerror(-result);
        return false;
    }
    slot_.reset(slot);
    reply_ = std::move(reply);
    return true;
}

int BusCall::OnReply(sd_bus_message* reply, void* self, sd_bus_error*) {
    auto* call = static_cast<BusCall*>(self);
    // The slot is spent; the reply may send the next call.
    call->slot_.reset();
    const Reply handler = std::move(call->reply_);
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    handler(reply, error);
    return 0;
}

}  // namespace tessaly
