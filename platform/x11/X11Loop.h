// The loop of one run on an X display: it waits in ppoll on the X connection
// and the signal pipe with a timeout to the nearest tick on the monotonic
// clock, so a 5 ms period holds and a clock change never stalls the garden.
// As in a message loop, input and expose come first, then a due tick, then
// the paint it asked for. The saver's input goes to the canvases' input
// rule; the run ends when the session says so.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "linux/SignalPipe.h"
#include "X11Window.h"
#include "session/SaverSession.h"

namespace tessaly {

class X11Loop {
public:
    X11Loop(Display* display, SignalPipe& signals, SaverSession& session, const Warn& warn)
        : display_(display), signals_(signals), session_(session), warn_(warn) {}

    // The windows of the run, topmost first.
    void Add(X11Window& window) { windows_.push_back(&window); }
    // Prints ticks, paints and memory once a second on stderr.
    void EnableStats() { stats_ = true; }

    // Delivers events and ticks until the session ends; false with `error`
    // when the loop itself fails.
    bool Run(std::string& error);

private:
    void Dispatch(const XEvent& event);
    void HandleSaverInput(FullScreenWindow& saver, const XEvent& event);
    bool IsOurs(Window window) const;
    void RaiseAll();
    void CheckErrors();
    void ReportStats(int64_t now);
    int64_t Wait(int64_t now) const;

    Display* display_;
    SignalPipe& signals_;
    SaverSession& session_;
    const Warn& warn_;
    std::vector<X11Window*> windows_;
    bool stats_ = false;
    uint64_t ticksAtReport_ = 0, paintsAtReport_ = 0;
    StatsBeat statsBeat_;
};

}  // namespace tessaly
