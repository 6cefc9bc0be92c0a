#include "HeadlessHost.h"

namespace tessaly {

void HeadlessHost::StartTicking(unsigned periodMs) {
    ticking_ = true;
    periodMs_ = periodMs;
    nextTickMs_ = nowMs_ + periodMs;  // starting again restarts the period
}

void HeadlessHost::RepaintNow() {
    paintRequested_ = true;
    Paint();
}

void HeadlessHost::Paint() {
    if (paint_) paint_();
    paintRequested_ = false;
}

bool HeadlessHost::Tick(CanvasWindow& canvas) {
    uint64_t now = 0;
    if (!AdvanceToNextTick(now)) return false;
    canvas.OnTick();
    if (paintRequested_) Paint();
    return true;
}

bool HeadlessHost::AdvanceToNextTick(uint64_t& nowMs) {
    if (!ticking_) return false;
    nowMs_ = nextTickMs_;
    nextTickMs_ += periodMs_;
    nowMs = nowMs_;
    return true;
}

HeadlessRun::HeadlessRun(GardenState& state, GdiObjects& objects, Size size,
                         std::function<void(CanvasWindow&)> paint)
    : host_(size.width, size.height), canvas_(std::make_unique<CanvasWindow>(state, objects)) {
    canvas_->AttachHost(&host_);
    host_.SetPaintHandler([this, paint = std::move(paint)] { paint(*canvas_); });
    canvas_->OnCreate();
}

HeadlessRun::~HeadlessRun() {
    canvas_->OnWindowDestroyed();
    canvas_->AttachHost(nullptr);
}

}  // namespace tessaly
