#include "HeadlessHost.h"

#include "canvas/CanvasWindow.h"

namespace tessaly {

void HeadlessHost::SetTimer(int id, unsigned periodMs) {
    if (id != kCanvasTimerId) return;  // the canvas runs timer 1 only
    timerRunning_ = true;
    timerPeriodMs_ = periodMs;
    nextTickMs_ = nowMs_ + periodMs;  // setting a timer again restarts its period
}

void HeadlessHost::KillTimer(int id) {
    if (id == kCanvasTimerId) timerRunning_ = false;
}

void HeadlessHost::InvalidateRect(bool erase) {
    invalid_ = true;
    erase_ = erase_ || erase;
}

void HeadlessHost::UpdateWindow() {
    if (invalid_) Paint();
}

void HeadlessHost::Paint() {
    if (paint_) paint_();
    Validate();
}

bool HeadlessHost::Tick(CanvasWindow& canvas) {
    uint64_t now = 0;
    if (!AdvanceToNextTick(now)) return false;
    canvas.OnTimer(kCanvasTimerId);
    if (invalid_) Paint();
    return true;
}

bool HeadlessHost::AdvanceToNextTick(uint64_t& nowMs) {
    if (!timerRunning_) return false;
    nowMs_ = nextTickMs_;
    nextTickMs_ += timerPeriodMs_;
    nowMs = nowMs_;
    return true;
}

}  // namespace tessaly
