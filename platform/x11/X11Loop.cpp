#include "X11Loop.h"

#include <sys/epoll.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "XErrors.h"

namespace tessaly {

namespace {

// Buttons 4 to 7 are the wheel (up, down, left, right): rolling it is not
// the user coming back.
constexpr unsigned kFirstWheelButton = 4, kLastWheelButton = 7;
// The statistics line may come a little late, so its wake-up joins a tick's.
constexpr int64_t kStatsSlackNs = 50 * kNsPerMs;

}  // namespace

X11Loop::X11Loop(Display* display, EventLoop& loop, SignalPipe& signals, SaverSession& session, const Warn& warn)
    : display_(display),
      loop_(loop),
      signals_(signals),
      session_(session),
      warn_(warn),
      pacing_(QueryFramePacing(display)),
      blanking_(display) {}

void X11Loop::Add(X11Window& window) {
    windows_.push_back(&window);
    if (blanking_.Blanked()) window.ServerBlanked(true);
}

bool X11Loop::IsOurs(Window window) const {
    return std::any_of(windows_.begin(), windows_.end(), [window](X11Window* w) { return w->Id() == window; });
}

// Every window goes on top in one fixed order: where monitors overlap,
// raising one window at a time would make the windows take turns for ever.
void X11Loop::RaiseAll() {
    std::vector<Window> order;
    for (X11Window* w : windows_) order.push_back(w->Id());
    XRaiseWindow(display_, order.front());
    XRestackWindows(display_, order.data(), static_cast<int>(order.size()));
}

void X11Loop::HandleSaverInput(FullScreenWindow& saver, const XEvent& event) {
    switch (event.type) {
        case KeyPress: saver.OnButtonOrKeyDown(); break;
        case ButtonPress:
            if (event.xbutton.button < kFirstWheelButton || event.xbutton.button > kLastWheelButton)
                saver.OnButtonOrKeyDown();
            break;
        // Root coordinates: the windows of all monitors share one first point.
        case MotionNotify: saver.OnMouseMove(event.xmotion.x_root, event.xmotion.y_root); break;
        case FocusOut:
            // Grabs (ours included) move the focus only for their duration,
            // and pointer or inferior details are not the window's own focus.
            // Focus passing to another of the saver's windows is not the user.
            if ((event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
                event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer) {
                Window focus = None;
                int revert = 0;
                XGetInputFocus(display_, &focus, &revert);
                if (!IsOurs(focus)) saver.OnDeactivate();
            }
            break;
        case VisibilityNotify:
            // Stay on top of what appears over a part of it later; a window
            // over all of it (a lock screen) is left there, and the saver rests.
            if (event.xvisibility.state == VisibilityPartiallyObscured) RaiseAll();
            break;
        default: break;
    }
}

void X11Loop::Dispatch(XEvent& event) {
    if (FrameShown shown{}; ReadFrameShown(display_, pacing_, event, shown)) {
        for (X11Window* window : windows_)
            if (window->Id() == shown.window) window->FrameShown(shown.serial, shown.msc);
        return;
    }
    if (blanking_.Read(event)) {
        for (X11Window* window : windows_) window->ServerBlanked(blanking_.Blanked());
        return;
    }
    for (X11Window* window : windows_) {
        if (!window->HandleEvent(event)) continue;
        if (window->Saver() != nullptr && event.xany.window == window->Id()) HandleSaverInput(*window->Saver(), event);
        return;
    }
}

// Input, expose and structure events in order; an end is carried out after
// the event that brought it.
void X11Loop::DispatchQueued() {
    while (session_.Running() && XEventsQueued(display_, QueuedAlready) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        Dispatch(event);
        CheckErrors();
        if (std::any_of(windows_.begin(), windows_.end(), [](X11Window* w) { return w->Gone(); }))
            session_.WindowGone();
    }
}

// An error about a window of ours means it has gone; any other is said.
void X11Loop::CheckErrors() {
    const XErrorRecord error = TakeXError();
    if (error.code == 0) return;
    for (X11Window* window : windows_) {
        if (IsGoneError(error) && error.resource == window->Id()) {
            window->MarkGone();
            return;
        }
    }
    char text[160] = "";
    XGetErrorText(display_, error.code, text, sizeof text);
    char line[256];
    std::snprintf(line, sizeof line, "X error: %s (request %u, id 0x%lx)", text, error.request, error.resource);
    warn_(line);
}

// After every round of events: what they did to the run. The statistics
// wait while nothing is seen, so that the process sleeps then.
void X11Loop::Settle() {
    CheckErrors();
    if (std::any_of(windows_.begin(), windows_.end(), [](X11Window* w) { return w->Gone(); })) session_.WindowGone();
    if (!session_.Running()) return loop_.Quit();
    const bool seen = std::any_of(windows_.begin(), windows_.end(), [](X11Window* w) { return w->Seen(); });
    if (stats_ && seen && !statsBeat_.Armed()) statsBeat_.At(MonotonicNs() + kNsPerSecond);
    if (!seen) statsBeat_.Off();
}

void X11Loop::ReportStats() {
    statsBeat_.At(MonotonicNs() + kNsPerSecond);
    uint64_t ticks = 0, paints = 0;
    for (X11Window* w : windows_) ticks += w->Ticks(), paints += w->Paints();
    char line[160];
    std::snprintf(line, sizeof line, "stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld",
                  ticks - ticksAtReport_, paints - paintsAtReport_, ticks, ResidentKilobytes());
    warn_(line);
    ticksAtReport_ = ticks;
    paintsAtReport_ = paints;
}

bool X11Loop::Run(std::string& error) {
    connection_.Attach(loop_, ConnectionNumber(display_), EPOLLIN, [this](uint32_t) {
        XEventsQueued(display_, QueuedAfterReading);
        DispatchQueued();
    });
    // Events Xlib read while doing something else are queued already: they
    // are handled, and what was asked of the server goes out, before any wait.
    connection_.BeforeWait([this] {
        DispatchQueued();
        Settle();
        XFlush(display_);
    });
    if (signals_.Ok()) signalled_.Attach(loop_, signals_.ReadFd(), EPOLLIN, [this](uint32_t) { session_.Signalled(signals_.Take()); });
    statsBeat_.Attach(loop_, kStatsSlackNs, [this] { ReportStats(); });
    loop_.AfterEvents([this] { Settle(); });
    if (signals_.Ok()) session_.Signalled(signals_.Take());  // one that came during start-up
    Settle();
    return loop_.Run(error);
}

}  // namespace tessaly
