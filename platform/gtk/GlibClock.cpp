#include "GlibClock.h"

namespace tessaly {

namespace {
constexpr int kPaintPriority = G_PRIORITY_HIGH_IDLE + 10;
constexpr int kTimerPriority = G_PRIORITY_HIGH_IDLE + 30;
}  // namespace

void GlibClock::Start(unsigned periodMs) {
    if (timerSource_ != 0) g_source_remove(timerSource_);
    timerSource_ = g_timeout_add_full(kTimerPriority, periodMs, OnTick, this, nullptr);
}

void GlibClock::Stop() {
    if (timerSource_ != 0) g_source_remove(timerSource_);
    timerSource_ = 0;
    CancelPaint();
}

void GlibClock::RequestPaint() {
    if (paintSource_ == 0) paintSource_ = g_idle_add_full(kPaintPriority, OnPaint, this, nullptr);
}

void GlibClock::CancelPaint() {
    if (paintSource_ != 0) g_source_remove(paintSource_);
    paintSource_ = 0;
}

gboolean GlibClock::OnTick(gpointer self) {
    static_cast<GlibClock*>(self)->tick_();
    return G_SOURCE_CONTINUE;
}

gboolean GlibClock::OnPaint(gpointer self) {
    auto* clock = static_cast<GlibClock*>(self);
    clock->paintSource_ = 0;
    clock->paint_();
    return G_SOURCE_REMOVE;
}

}  // namespace tessaly
