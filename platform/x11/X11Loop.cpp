#include "X11Loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "XErrors.h"

namespace tessaly {

namespace {

// Buttons 4 to 7 are the wheel (up, down, left, right): rolling it is not
// the user coming back.
constexpr unsigned kFirstWheelButton = 4, kLastWheelButton = 7;

}  // namespace

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
            // Stay on top of anything that appears later.
            if (event.xvisibility.state != VisibilityUnobscured) RaiseAll();
            break;
        default: break;
    }
}

void X11Loop::Dispatch(const XEvent& event) {
    for (X11Window* window : windows_) {
        if (!window->HandleEvent(event)) continue;
        if (window->Saver() != nullptr && event.xany.window == window->Id()) HandleSaverInput(*window->Saver(), event);
        return;
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

void X11Loop::ReportStats(int64_t now) {
    if (!stats_) return;
    if (!statsBeat_.Due(now)) return;
    uint64_t ticks = 0, paints = 0;
    for (X11Window* w : windows_) ticks += w->Ticks(), paints += w->Paints();
    char line[160];
    std::snprintf(line, sizeof line, "stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld",
                  ticks - ticksAtReport_, paints - paintsAtReport_, ticks, ResidentKilobytes());
    warn_(line);
    ticksAtReport_ = ticks;
    paintsAtReport_ = paints;
}

// Nanoseconds to the nearest tick (or statistics line); -1: none is due.
int64_t X11Loop::Wait(int64_t now) const {
    int64_t wait = -1;
    for (X11Window* w : windows_) {
        if (!w->Timer().Ticking()) continue;
        const int64_t due = std::max<int64_t>(w->Timer().Deadline() - now, 0);
        if (wait < 0 || due < wait) wait = due;
    }
    const int64_t report = statsBeat_.Next() - now;
    if (stats_ && (wait < 0 || report < wait)) wait = std::max<int64_t>(report, 0);
    return wait;
}

bool X11Loop::Run(std::string& error) {
    const auto gone = [this] { return std::any_of(windows_.begin(), windows_.end(), [](X11Window* w) { return w->Gone(); }); };
    const int xfd = ConnectionNumber(display_);
    if (signals_.Ok()) session_.Signalled(signals_.Take());  // one that came during start-up
    while (session_.Running()) {
        // Input, expose and structure events first, in order; an end is
        // carried out after the event that brought it.
        while (session_.Running() && !gone() && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            Dispatch(event);
        }
        CheckErrors();
        if (gone()) session_.WindowGone();
        if (!session_.Running()) break;

        int64_t now = MonotonicNs();
        for (X11Window* w : windows_) {
            w->Tick(now);
            if (w->PaintPending()) w->Paint();
        }
        XFlush(display_);
        now = MonotonicNs();
        ReportStats(now);
        if (!session_.Running() || XEventsQueued(display_, QueuedAlready) > 0) continue;

        const int64_t wait = Wait(now);
        const timespec timeout{static_cast<time_t>(wait / kNsPerSecond), static_cast<long>(wait % kNsPerSecond)};
        pollfd fds[2] = {{xfd, POLLIN, 0}, {signals_.ReadFd(), POLLIN, 0}};
        const int count = ppoll(fds, signals_.Ok() ? 2 : 1, wait < 0 ? nullptr : &timeout, nullptr);
        if (count < 0 && errno != EINTR) {
            error = std::string("cannot wait for the X server: ") + std::strerror(errno);
            return false;
        }
        if (count > 0 && signals_.Ok() && (fds[1].revents & POLLIN) != 0) session_.Signalled(signals_.Take());
    }
    return true;
}

}  // namespace tessaly
