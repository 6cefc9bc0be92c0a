// The X11 side of a canvas window: implements the WindowHost the core canvas
// calls (ticking, paint requests, client size, close) and runs the event
// loop that delivers ticks, paints and input to it. One loop can serve
// several canvases (the saver's, one per monitor): a close asked for by any
// of them, or any of their windows going away, ends them all.
//
// The loop waits in ppoll on the X connection and the signal pipe with a
// timeout to the next tick on the monotonic clock, so a 5 ms period holds
// and a clock change never stalls the garden. As in a message loop, input
// and expose come first, then a due tick, then the paint it asked for.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "OffscreenCanvas.h"
#include "SignalPipe.h"
#include "XErrors.h"
#include "canvas/CanvasWindow.h"
#include "canvas/FullScreenWindow.h"
#include "canvas/WindowHost.h"

namespace tessaly {

struct CanvasTarget {
    Window window = 0;        // the window the canvas shows in
    bool ownsWindow = false;  // created by us: destroyed when the canvas ends
    Visual* visual = nullptr;
    int depth = 0;
    int width = 0;
    int height = 0;
    // A window whose size ours takes on (the screen's root for the saver,
    // the pane for a preview); 0 when others size ours.
    Window follows = 0;
};

enum class LoopEnd { Closed, WindowGone, Signal };

class X11CanvasHost final : public WindowHost {
public:
    X11CanvasHost(Display* display, const CanvasTarget& target, SignalPipe& signals);
    ~X11CanvasHost() override;

    OffscreenCanvas& Picture() { return picture_; }
    const CanvasTarget& Target() const { return target_; }

    // Takes the canvas and tells it its window exists. `saver` is the same
    // object when it watches input.
    void Attach(std::unique_ptr<CanvasWindow> canvas, FullScreenWindow* saver);

    // Delivers events and ticks until the canvas ends; then tears it down
    // (destroys an owned window, then the canvas) and says why it ended.
    LoopEnd Run() { return RunTogether({this}); }
    // The same for several canvases on one display and signal pipe.
    static LoopEnd RunTogether(const std::vector<X11CanvasHost*>& hosts);
    // The signal that ended Run (LoopEnd::Signal), else 0.
    int EndingSignal() const { return signal_; }

    // Prints ticks, paints and memory once a second on stderr.
    void EnableStats() { stats_ = true; }
    uint64_t Ticks() const { return ticks_; }

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override;
    void RequestClose() override;

private:
    // False when the event is not for this canvas's window.
    bool HandleEvent(XEvent& event);
    void Resized(int width, int height);
    void HandleSaverInput(XEvent& event);
    bool IsGroupWindow(Window window) const;
    void RaiseGroup();
    void Paint();
    void Tick(int64_t now);
    // An X error about this canvas's window having gone marks it gone.
    bool TakeGoneError(const XErrorRecord& error);
    static void CheckErrors(const std::vector<X11CanvasHost*>& hosts);
    void ReportStats(int64_t now, uint64_t ticks, uint64_t paints);
    void TearDown();

    Display* display_;
    CanvasTarget target_;
    SignalPipe& signals_;
    OffscreenCanvas picture_;
    std::unique_ptr<CanvasWindow> canvas_;
    FullScreenWindow* saver_ = nullptr;
    std::vector<Window> group_;  // the windows of every canvas in this loop, topmost first

    bool timerOn_ = false;
    int64_t periodNs_ = 0;
    int64_t deadlineNs_ = 0;
    bool paintPending_ = false;
    bool closePosted_ = false;
    bool windowGone_ = false;
    int signal_ = 0;

    bool stats_ = false;
    uint64_t ticks_ = 0, paints_ = 0;
    uint64_t ticksAtReport_ = 0, paintsAtReport_ = 0;
    int64_t nextReportNs_ = 0;
};

}  // namespace tessaly
