// One window of a run on X11: the WindowHost its canvas calls (a timer on
// the loop's monotonic clock, a paint request, the client size), the picture
// behind the window that every paint draws into, and what the window's own
// events do to it: expose copies from the picture, a new size grows or
// shrinks the picture keeping what was painted, a window gone marks it gone.
//
// Paints keep pace with the monitor: a paint waits until the frame the last
// one went out in is on the screen (see FramePacing), and the ticks that come
// meanwhile only add to it. A window nobody can see (covered whole, or the
// screen blanked by the X server, as it is when DPMS turns the monitors off)
// stops its canvas ticking until it is seen again.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "FramePacing.h"
#include "OffscreenCanvas.h"
#include "canvas/CanvasWindow.h"
#include "canvas/FullScreenWindow.h"
#include "canvas/WindowHost.h"
#include "linux/Clock.h"
#include "linux/EventLoop.h"
#include "linux/Run.h"

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
    X11Window(Display* display, EventLoop& loop, const FramePacing& pacing, const CanvasTarget& target,
              const Warn& warn);
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
    // The frame of the paint that asked with `serial` is on the screen.
    void FrameShown(uint32_t serial, uint64_t msc);
    // The X server's screen saver blanked the screen, or stopped.
    void ServerBlanked(bool blanked);
    // A request named this window after it was gone.
    void MarkGone() { gone_ = true; }
    bool Gone() const { return gone_; }

    bool Seen() const { return canvas_ != nullptr && canvas_->Visible(); }
    uint64_t Ticks() const { return ticks_; }
    uint64_t Paints() const { return paints_; }

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override { paintPending_ = true; }
    void RepaintNow() override { Paint(); }  // no background: nothing to erase first
    Size ClientSize() override { return {target_.width, target_.height}; }

private:
    void Tick();
    void Paint();
    void FrameDone();
    void Resized(int width, int height);
    void UpdateSeen();

    Display* display_;
    const FramePacing& pacing_;
    CanvasTarget target_;
    const Warn& warn_;
    OffscreenCanvas picture_;
    CanvasWindow* canvas_ = nullptr;
    FullScreenWindow* saver_ = nullptr;
    bool gone_ = false;
    bool covered_ = false, blanked_ = false;

    TickTimer timer_;
    Timer tick_;
    bool paintPending_ = false;
    // A frame asked for and not yet shown; the timer ends the wait for one
    // that never comes (and paces paints where there is no Present).
    bool waitingForFrame_ = false;
    uint32_t frameSerial_ = 0;
    uint64_t lastMsc_ = 0;
    Timer frameWait_;
    uint64_t ticks_ = 0, paints_ = 0;
};

}  // namespace tessaly
