// A canvas's ticks and paint requests on the GLib main loop, for every GTK
// host of a canvas (the dialog's preview, the Wayland saver's surfaces).
// Input and GTK's own redraws come first, then a requested paint, and the
// tick only after those, so even a 5 ms period can starve neither the screen
// nor the user.
#pragma once

#include <glib.h>

#include <functional>

namespace tessaly {

class GlibClock {
public:
    GlibClock(std::function<void()> tick, std::function<void()> paint)
        : tick_(std::move(tick)), paint_(std::move(paint)) {}
    ~GlibClock() { Stop(); }
    GlibClock(const GlibClock&) = delete;
    GlibClock& operator=(const GlibClock&) = delete;

    // Ticks every periodMs from now on; starting again restarts the period.
    void Start(unsigned periodMs);
    // No more ticks, and no paint that was asked for.
    void Stop();
    // One paint, soon; asking again before it comes changes nothing.
    void RequestPaint();
    // The paint is being done now: the one asked for is not needed.
    void CancelPaint();

private:
    static gboolean OnTick(gpointer self);
    static gboolean OnPaint(gpointer self);

    std::function<void()> tick_;
    std::function<void()> paint_;
    guint timerSource_ = 0;
    guint paintSource_ = 0;
};

}  // namespace tessaly
