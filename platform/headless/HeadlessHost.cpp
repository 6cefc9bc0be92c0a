#include "HeadlessHost.h"

namespace tessaly {

void HeadlessHost::RepaintNow() {
    paintRequested_ = true;
    Paint();
}

void HeadlessHost::Paint() {
    if (paint_) paint_();
    paintRequested_ = false;
}

bool HeadlessHost::Tick(CanvasWindow& canvas) {
    if (!ticking_) return false;
    canvas.OnTick();
    if (paintRequested_) Paint();
    return true;
}

HeadlessRun::HeadlessRun(GardenState& state, GdiObjects& objects, Size size,
                         std::function<void(CanvasWindow&)> paint)
    : host_(size.width, size.height), binding_(std::make_unique<CanvasWindow>(state, objects)) {
    host_.SetPaintHandler([this, paint = std::move(paint)] { paint(binding_.Canvas()); });
    binding_.Bind(host_);
}

HeadlessRun::~HeadlessRun() { binding_.Unbind(); }

}  // namespace tessaly
