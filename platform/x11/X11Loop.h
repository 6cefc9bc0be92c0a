// The events of one run on an X display, on the run's EventLoop: the X
// connection (input and expose first, then Present's frames and the server's
// blanking), the signal pipe, and the once-a-second --stats line while
// anything is seen. Each window ticks on its own timer. The saver's input
// goes to the canvases' input rule; the run ends when the session says so.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FramePacing.h"
#include "ServerBlanking.h"
#include "X11Window.h"
#include "linux/EventLoop.h"
#include "linux/SignalPipe.h"
#include "session/SaverSession.h"

namespace tessaly {

class X11Loop {
public:
    X11Loop(Display* display, EventLoop& loop, SignalPipe& signals, SaverSession& session, const Warn& warn);

    const FramePacing& Pacing() const { return pacing_; }
    // The windows of the run, topmost first.
    void Add(X11Window& window);
    // Prints ticks, paints and memory once a second on stderr.
    void EnableStats() { stats_ = true; }

    // Delivers events and ticks until the session ends; false with `error`
    // when the loop itself fails or the connection is lost.
    bool Run(std::string& error);

private:
    void DispatchQueued();
    void Dispatch(XEvent& event);
    void HandleSaverInput(FullScreenWindow& saver, const XEvent& event);
    bool IsOurs(Window window) const;
    void RaiseAll();
    void Settle();
    void CheckErrors();
    void ReportStats();

    Display* display_;
    EventLoop& loop_;
    SignalPipe& signals_;
    SaverSession& session_;
    const Warn& warn_;
    FramePacing pacing_;
    ServerBlanking blanking_;
    std::vector<X11Window*> windows_;
    Watch connection_, signalled_;
    Timer statsBeat_;
    bool stats_ = false;
    uint64_t ticksAtReport_ = 0, paintsAtReport_ = 0;
};

}  // namespace tessaly
