// The compositor's own idle count: ext_idle_notifier_v1 (KWin, sway 1.8 on,
// Hyprland, labwc, river, Wayfire), else KWin's org_kde_kwin_idle (KWin, and
// sway 1.7). One notification on the seat: idled after the wait without
// input, resumed at the next input; the compositor holds idle back while a
// program inhibits it. Nothing comes while the user works.
#pragma once

#include <string>

#include "IdleSource.h"

struct wl_display;
struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

namespace tessaly {

class WaylandIdle final : public IdleSource {
public:
    WaylandIdle() = default;
    ~WaylandIdle() override;
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    // Connects and looks at what the compositor offers; false with the
    // reason when no compositor can be reached.
    bool Connect(std::string& error);
    // Whether it tells of idleness (else another source counts: GNOME's bus).
    bool Counts() const { return seat_ != nullptr && (notifier_ != nullptr || kdeIdle_ != nullptr); }
    // Watches the connection only: the watcher ends with the compositor.
    void WatchConnection(EventLoop& loop);

    bool Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) override;
    void SetWait(int64_t waitMs) override;
    const char* Name() const override;

    // For the protocols' listeners.
    void Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void Idled() { events_.idle(); }
    void Resumed() { events_.active(); }

private:
    void Notify(int64_t waitMs);
    void Release();
    void Fail();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    ext_idle_notifier_v1* notifier_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    ext_idle_notification_v1* notification_ = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout_ = nullptr;
    EventLoop* loop_ = nullptr;
    IdleEvents events_;
    tessaly::Watch socket_;
};

}  // namespace tessaly
