#include "MutterIdle.h"

namespace tessaly {

namespace {

constexpr const char* kService = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kInterface = "org.gnome.Mutter.IdleMonitor";
constexpr int kIdle = 0, kActive = 1;
constexpr const char* kOwnerChanged =
    "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',interface='org.freedesktop.DBus',"
    "member='NameOwnerChanged',arg0='org.gnome.Mutter.IdleMonitor'";

}  // namespace

bool MutterIdle::Present() const { return HasOwner(bus_, kService); }

bool MutterIdle::Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) {
    loop_ = &loop;
    events_ = std::move(events);
    waitMs_ = waitMs;
    sd_bus_slot* fired = nullptr;
    sd_bus_slot* owner = nullptr;
    int result = sd_bus_match_signal(bus_, &fired, kService, kPath, kInterface, "WatchFired", OnFired, this);
    firedMatch_.reset(fired);
    // Mutter gone is the session gone.
    if (result >= 0) result = sd_bus_add_match(bus_, &owner, kOwnerChanged, OnOwnerChanged, this);
    ownerMatch_.reset(owner);
    if (result < 0) {
        error = "cannot listen to GNOME's idle monitor: " + BusErrorText(nullptr, result);
        return false;
    }
    Add(Kind::Idle);
    return true;
}

void MutterIdle::SetWait(int64_t waitMs) {
    waitMs_ = waitMs;
    for (uint32_t& id : watchIds_) {
        if (id == 0) continue;
        std::string ignored;
        MessagePtr remove = NewCall(bus_, kService, kPath, kInterface, "RemoveWatch");
        if (remove && sd_bus_message_append(remove.get(), "u", id) >= 0)
            removing_.Send(bus_, std::move(remove), [](sd_bus_message*, const sd_bus_error*) {}, ignored);
        id = 0;
    }
    Add(Kind::Idle);
}

void MutterIdle::Add(Kind kind) {
    const int k = kind == Kind::Idle ? kIdle : kActive;
    MessagePtr call = NewCall(bus_, kService, kPath, kInterface, kind == Kind::Idle ? "AddIdleWatch" : "AddUserActiveWatch");
    if (call && kind == Kind::Idle) sd_bus_message_append(call.get(), "t", static_cast<uint64_t>(waitMs_));
    std::string error;
    const bool sent = adding_[k].Send(bus_, std::move(call), [this, k](sd_bus_message* reply, const sd_bus_error* failed) {
        uint32_t id = 0;
        if (failed != nullptr || sd_bus_message_read(reply, "u", &id) < 0)
            return loop_->Fail("GNOME's idle monitor refused a watch: " + BusErrorText(failed, EPROTO));
        watchIds_[k] = id;
    }, error);
    if (!sent) loop_->Fail("cannot ask GNOME's idle monitor: " + error);
}

void MutterIdle::Fired(uint32_t id) {
    if (id == 0) return;
    if (id == watchIds_[kIdle]) {
        Add(Kind::Active);  // Mutter's user-active watches fire once
        events_.idle();
    } else if (id == watchIds_[kActive]) {
        watchIds_[kActive] = 0;
        events_.active();
    }
}

int MutterIdle::OnFired(sd_bus_message* message, void* self, sd_bus_error*) {
    uint32_t id = 0;
    if (sd_bus_message_read(message, "u", &id) >= 0) static_cast<MutterIdle*>(self)->Fired(id);
    return 0;
}

int MutterIdle::OnOwnerChanged(sd_bus_message* message, void* self, sd_bus_error*) {
    const char* name = nullptr;
    const char* before = nullptr;
    const char* after = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &before, &after) >= 0 && (after == nullptr || *after == '\0'))
        static_cast<MutterIdle*>(self)->loop_->Fail("GNOME's idle monitor left the session bus");
    return 0;
}

}  // namespace tessaly
