// The window host of a canvas that has no window: a client rectangle of the
// output size, timer 1 on a virtual clock, and invalidation remembered until
// the next paint. This is what the renderer and the benchmarks run the real
// canvas against.
#pragma once

#include <cstdint>
#include <functional>

#include "canvas/WindowHost.h"

namespace tessaly {

class CanvasWindow;

class HeadlessHost final : public WindowHost {
public:
    HeadlessHost(int width, int height) : clientRect_{0, 0, width, height} {}

    void SetTimer(int id, unsigned periodMs) override;
    void KillTimer(int id) override;
    void InvalidateRect(bool erase) override;
    void UpdateWindow() override;
    Rect GetClientRect() override { return clientRect_; }
    void PostClose() override { closePosted_ = true; }

    // Who paints when UpdateWindow finds the window invalid (the renderer).
    void SetPaintHandler(std::function<void()> paint) { paint_ = std::move(paint); }

    // One tick of the virtual clock: timer 1 fires on the canvas, then the
    // paint it asked for runs. False when no timer runs.
    bool Tick(CanvasWindow& canvas);
    // Runs the paint handler and validates the client area.
    void Paint();

    // Moves the virtual clock to the next expiry of timer 1 and returns the
    // time then (milliseconds since the timer was set). False when no timer runs.
    bool AdvanceToNextTick(uint64_t& nowMs);

    bool TimerRunning() const { return timerRunning_; }
    unsigned TimerPeriod() const { return timerPeriodMs_; }
    uint64_t NowMs() const { return nowMs_; }
    bool Invalid() const { return invalid_; }
    bool EraseRequested() const { return erase_; }
    bool ClosePosted() const { return closePosted_; }
    // The paint has validated the client area.
    void Validate() { invalid_ = false; erase_ = false; }

private:
    Rect clientRect_;
    bool timerRunning_ = false;
    unsigned timerPeriodMs_ = 0;
    uint64_t nowMs_ = 0;
    uint64_t nextTickMs_ = 0;
    bool invalid_ = false;
    bool erase_ = false;
    bool closePosted_ = false;
    std::function<void()> paint_;
};

}  // namespace tessaly
