#include "ScreenSaverService.h"

#include <cerrno>

namespace tessaly {

namespace {

constexpr const char* kName = "org.freedesktop.ScreenSaver";
// Programs call it at either path.
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
constexpr const char* kSessionManager = "org.gnome.SessionManager";

}  // namespace

bool ScreenSaverService::Offer(sd_bus* bus, std::function<void()> changed, std::string& error) {
    changed_ = std::move(changed);
    if (bus == nullptr || HasOwner(bus, kSessionManager)) return true;
    static const sd_bus_vtable kMethods[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Inhibit", "ss", "u", OnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("UnInhibit", "u", "", OnUnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END,
    };
    for (int i = 0; i < 2; ++i) {
        sd_bus_slot* slot = nullptr;
        const int result = sd_bus_add_object_vtable(bus, &slot, kPaths[i], kName, kMethods, this);
        objects_[i].reset(slot);
        if (result < 0) {
            error = "cannot offer " + std::string(kName) + ": " + BusErrorText(nullptr, result);
            return false;
        }
    }
    const int result = sd_bus_request_name(bus, kName, 0);
    offered_ = result >= 0;
    if (!offered_) {
        for (Slot& object : objects_) object.reset();
        if (result != -EEXIST) {
            error = "cannot offer " + std::string(kName) + ": " + BusErrorText(nullptr, result);
            return false;
        }
    }
    return true;
}

int ScreenSaverService::OnInhibit(sd_bus_message* call, void* self, sd_bus_error* error) {
    auto* service = static_cast<ScreenSaverService*>(self);
    const char* application = nullptr;
    const char* reason = nullptr;
    int result = sd_bus_message_read(call, "ss", &application, &reason);
    if (result < 0) return result;
    auto inhibitor = std::make_unique<Inhibitor>(Inhibitor{service, service->nextCookie_, nullptr});
    sd_bus_track* track = nullptr;
    result = sd_bus_track_new(sd_bus_message_get_bus(call), &track, OnClientLeft, inhibitor.get());
    inhibitor->client.reset(track);
    if (result >= 0) result = sd_bus_track_add_sender(track, call);
    if (result < 0) return sd_bus_error_set_errno(error, result);
    const uint32_t cookie = service->nextCookie_++;
    service->inhibitors_[cookie] = std::move(inhibitor);
    service->changed_();
    return sd_bus_reply_method_return(call, "u", cookie);
}

int ScreenSaverService::OnUnInhibit(sd_bus_message* call, void* self, sd_bus_error*) {
    uint32_t cookie = 0;
    const int result = sd_bus_message_read(call, "u", &cookie);
    if (result < 0) return result;
    static_cast<ScreenSaverService*>(self)->Remove(cookie);
    return sd_bus_reply_method_return(call, "");
}

int ScreenSaverService::OnClientLeft(sd_bus_track*, void* data) {
    const auto* inhibitor = static_cast<Inhibitor*>(data);
    inhibitor->service->Remove(inhibitor->cookie);
    return 0;
}

void ScreenSaverService::Remove(uint32_t cookie) {
    if (inhibitors_.erase(cookie) > 0) changed_();
}

}  // namespace tessaly
