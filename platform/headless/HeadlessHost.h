// The window host of a canvas that has no window: a client area of the
// output size, ticks when it is told to (a virtual clock: every tick is the
// timer's step, however long it took), and a paint request remembered until
// the next paint. This is what the renderer, the benchmarks and the tests run
// the real canvas against; HeadlessRun puts a canvas on one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "device/GdiObjects.h"
#include "session/CanvasBinding.h"
#include "state/GardenState.h"

namespace tessaly {

class HeadlessHost final : public WindowHost {
public:
    HeadlessHost(int width, int height) : size_{width, height} {}

    void StartTicking(unsigned) override { ticking_ = true; }
    void StopTicking() override { ticking_ = false; }
    void RequestPaint() override { paintRequested_ = true; }
    void RepaintNow() override;
    Size ClientSize() override { return size_; }

    // Who paints (the renderer's device, a test's recorder).
    void SetPaintHandler(std::function<void()> paint) { paint_ = std::move(paint); }

    // One tick: the canvas ticks, then the paint it asked for runs. False
    // when the canvas is not ticking.
    bool Tick(CanvasWindow& canvas);
    // Runs the paint handler; the request is met.
    void Paint();

private:
    Size size_;
    bool ticking_ = false;
    bool paintRequested_ = false;
    std::function<void()> paint_;
};

// One canvas on a headless host, from its window's creation to its end:
// made and started by the constructor, ticked by Tick, torn down (queued
// figures and scene released, as when a window goes) by the destructor.
class HeadlessRun {
public:
    // `paint` draws the canvas onto the caller's device for one paint.
    HeadlessRun(GardenState& state, GdiObjects& objects, Size size, std::function<void(CanvasWindow&)> paint);
    ~HeadlessRun();
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    bool Tick() { return host_.Tick(binding_.Canvas()); }
    void Ticks(int64_t count) {
        for (int64_t i = 0; i < count; ++i) host_.Tick(binding_.Canvas());
    }

private:
    HeadlessHost host_;
    CanvasBinding binding_;
};

}  // namespace tessaly
