#include "SessionInhibitors.h"

namespace tessaly {

namespace {

constexpr const char* kService = "org.gnome.SessionManager";
constexpr const char* kPath = "/org/gnome/SessionManager";
constexpr const char* kInterface = "org.gnome.SessionManager";
// GSM_INHIBITOR_FLAG_IDLE: the session is not to be marked idle.
constexpr uint32_t kIdleFlag = 8;

}  // namespace

bool SessionInhibitors::Listen(std::function<void()> removed, std::string& error) {
    removed_ = std::move(removed);
    if (bus_ == nullptr) return true;
    sd_bus_slot* slot = nullptr;
    const int result = sd_bus_match_signal(bus_, &slot, kService, kPath, kInterface, "InhibitorRemoved", OnRemoved, this);
    match_.reset(slot);
    if (result < 0) error = "cannot listen to the session manager: " + BusErrorText(nullptr, result);
    return result >= 0;
}

void SessionInhibitors::Ask(std::function<void(bool)> answer) {
    MessagePtr call = bus_ != nullptr ? NewCall(bus_, kService, kPath, kInterface, "IsInhibited") : nullptr;
    std::string ignored;
    if (!call || sd_bus_message_append(call.get(), "u", kIdleFlag) < 0 ||
        !asking_.Send(bus_, std::move(call), [answer](sd_bus_message* reply, const sd_bus_error* error) {
            int inhibited = 0;
            // No session manager, or one that cannot tell: nothing holds the garden back.
            if (error == nullptr) sd_bus_message_read(reply, "b", &inhibited);
            answer(inhibited != 0);
        }, ignored))
        answer(false);
}

int SessionInhibitors::OnRemoved(sd_bus_message*, void* self, sd_bus_error*) {
    static_cast<SessionInhibitors*>(self)->removed_();
    return 0;
}

}  // namespace tessaly
