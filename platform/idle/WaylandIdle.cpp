#include "WaylandIdle.h"

#include <sys/epoll.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "shell/Printable.h"

namespace tessaly {

namespace {

const wl_registry_listener kRegistryListener = {
    [](void* self, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
        static_cast<WaylandIdle*>(self)->Global(registry, name, interface, version);
    },
    [](void*, wl_registry*, uint32_t) {},
};

const ext_idle_notification_v1_listener kNotificationListener = {
    [](void* self, ext_idle_notification_v1*) { static_cast<WaylandIdle*>(self)->Idled(); },
    [](void* self, ext_idle_notification_v1*) { static_cast<WaylandIdle*>(self)->Resumed(); },
};

const org_kde_kwin_idle_timeout_listener kKdeTimeoutListener = {
    [](void* self, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdle*>(self)->Idled(); },
    [](void* self, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdle*>(self)->Resumed(); },
};

uint32_t Milliseconds(int64_t ms) { return ms > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(ms); }

}  // namespace

WaylandIdle::~WaylandIdle() {
    if (display_ == nullptr) return;
    Release();
    if (notifier_ != nullptr) ext_idle_notifier_v1_destroy(notifier_);
    if (kdeIdle_ != nullptr) org_kde_kwin_idle_destroy(kdeIdle_);
    if (seat_ != nullptr) wl_seat_destroy(seat_);
    if (registry_ != nullptr) wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

bool WaylandIdle::Connect(std::string& error) {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        error = "cannot connect to the Wayland compositor '" + Printable(name != nullptr ? name : "wayland-0") + "'";
        return false;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    if (wl_display_roundtrip(display_) < 0) {
        error = "the Wayland compositor did not answer: " + std::string(std::strerror(wl_display_get_error(display_)));
        return false;
    }
    return true;
}

void WaylandIdle::Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    // Version 1 of each is all the watcher needs.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat_ == nullptr)
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
        notifier_ = static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
        kdeIdle_ = static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}

const char* WaylandIdle::Name() const {
    return notifier_ != nullptr ? "the compositor's ext_idle_notifier_v1" : "the compositor's org_kde_kwin_idle";
}

void WaylandIdle::WatchConnection(EventLoop& loop) {
    loop_ = &loop;
    socket_.Attach(loop, wl_display_get_fd(display_), EPOLLIN, [this](uint32_t revents) {
        if ((revents & (EPOLLIN | EPOLLERR | EPOLLHUP)) != 0 && wl_display_dispatch(display_) < 0) Fail();
    });
    // Events read meanwhile are handled, and requests sent, before any wait.
    socket_.BeforeWait([this] {
        if (wl_display_dispatch_pending(display_) < 0 || (wl_display_flush(display_) < 0 && errno != EAGAIN)) Fail();
    });
}

bool WaylandIdle::Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) {
    events_ = std::move(events);
    WatchConnection(loop);
    Notify(waitMs);
    return loop.Ok(error);
}

void WaylandIdle::SetWait(int64_t waitMs) {
    Release();
    Notify(waitMs);
}

void WaylandIdle::Notify(int64_t waitMs) {
    if (notifier_ != nullptr) {
        notification_ = ext_idle_notifier_v1_get_idle_notification(notifier_, Milliseconds(waitMs), seat_);
        ext_idle_notification_v1_add_listener(notification_, &kNotificationListener, this);
    } else {
        kdeTimeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, seat_, Milliseconds(waitMs));
        org_kde_kwin_idle_timeout_add_listener(kdeTimeout_, &kKdeTimeoutListener, this);
    }
}

void WaylandIdle::Release() {
    if (notification_ != nullptr) ext_idle_notification_v1_destroy(notification_);
    if (kdeTimeout_ != nullptr) org_kde_kwin_idle_timeout_release(kdeTimeout_);
    notification_ = nullptr;
    kdeTimeout_ = nullptr;
}

void WaylandIdle::Fail() {
    const int code = wl_display_get_error(display_);
    loop_->Fail("lost the connection to the Wayland compositor: " + std::string(std::strerror(code != 0 ? code : EPIPE)));
}

}  // namespace tessaly
