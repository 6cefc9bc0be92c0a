// One window of a run on X11: the WindowHost its canvas calls (a timer on
// the monotonic clock, a paint request, the client size), the picture behind
// the window that every paint draws into, and what the window's own events
// do to it: expose copies from the picture, a new size grows or shrinks the
// picture keeping what was painted, a window gone marks it gone.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "linux/Clock.h"
#include "OffscreenCanvas.h"
#include "linux/Run.h"
#include "canvas/CanvasWindow.h"
#include "canvas/FullScreenWindow.h"
#include "canvas/WindowHost.h"

namespace tessaly {

struct CanvasTarget {
    Window window = 0;        // the window the canvas shows in
    bool ownsWindow = false;  // created by us: destroyed with this object
    Visual* visual = nullptr;
    int depth = 0;
    int width = 0;
    int height = 0;
    // A window whose size ours takes on (the screen's root for the saver,
    // the pane for a preview); 0 when others size ours.
    Window follows = 0;
};

class X11Window final : public WindowHost {
public:
    X11Window(Display* display, const CanvasTarget& target, const Warn& warn);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    Window Id() const { return target_.window; }
    OffscreenCanvas& Picture() { return picture_; }
    // The canvas the run bound to this window; `saver` when it watches input.
    void Show(CanvasWindow& canvas, FullScreenWindow* saver) { canvas_ = &canvas, saver_ = saver; }
    FullScreenWindow* Saver() const { return saver_; }

    // An event about this window or the one it follows; false when it is not.
    bool HandleEvent(const XEvent& event);
    // A request named this window after it was gone.
    void MarkGone() { gone_ = true; }
    bool Gone() const { return gone_; }

    // The timer and the paint it asks for, as the loop runs them.
    const TickTimer& Timer() const { return timer_; }
    // The canvas ticks when its timer is due.
    void Tick(int64_t nowNs);
    bool PaintPending() const { return paintPending_; }
    void Paint();
    uint64_t Ticks() const { return ticks_; }
    uint64_t Paints() const { return paints_; }

    // WindowHost
    void StartTicking(unsigned periodMs) override { timer_.Start(periodMs); }
    void StopTicking() override { timer_.Stop(); }
    void RequestPaint() override { paintPending_ = true; }
    void RepaintNow() override { Paint(); }  // no background: nothing to erase first
    Size ClientSize() override { return {target_.width, target_.height}; }

private:
    void Resized(int width, int height);

    Display* display_;
    CanvasTarget target_;
    const Warn& warn_;
    OffscreenCanvas picture_;
    CanvasWindow* canvas_ = nullptr;
    FullScreenWindow* saver_ = nullptr;
    bool gone_ = false;
    TickTimer timer_;
    bool paintPending_ = false;
    uint64_t ticks_ = 0, paints_ = 0;
};

}  // namespace tessaly
