#include "X11CanvasHost.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "CairoDevice.h"
#include "DamageRecorder.h"
#include "XErrors.h"

namespace tessaly {

namespace {

constexpr int64_t kNsPerMs = 1000000;
constexpr int64_t kNsPerSecond = 1000000000;
// Buttons 4 to 7 are the wheel (up, down, left, right): rolling it is not
// the user coming back.
constexpr unsigned kFirstWheelButton = 4, kLastWheelButton = 7;

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

X11CanvasHost::X11CanvasHost(Display* display, const CanvasTarget& target, SignalPipe& signals)
    : display_(display),
      target_(target),
      signals_(signals),
      picture_(display, target.window, target.visual, target.depth, target.width, target.height) {}

X11CanvasHost::~X11CanvasHost() { TearDown(); }

void X11CanvasHost::Attach(std::unique_ptr<CanvasWindow> canvas, FullScreenWindow* saver) {
    canvas_ = std::move(canvas);
    saver_ = saver;
    canvas_->AttachHost(this);
    canvas_->OnCreate();
}

void X11CanvasHost::StartTicking(unsigned periodMs) {
    timerOn_ = true;
    periodNs_ = static_cast<int64_t>(periodMs > 0 ? periodMs : 1) * kNsPerMs;
    deadlineNs_ = MonotonicNs() + periodNs_;
}

void X11CanvasHost::StopTicking() { timerOn_ = false; }

void X11CanvasHost::RequestPaint() { paintPending_ = true; }

// The window has no background, so there is nothing to erase first.
void X11CanvasHost::RepaintNow() { Paint(); }

Size X11CanvasHost::ClientSize() { return {target_.width, target_.height}; }

void X11CanvasHost::RequestClose() { closePosted_ = true; }

void X11CanvasHost::Paint() {
    paintPending_ = false;
    if (canvas_ == nullptr) return;
    // A fresh device per paint, as BeginPaint hands out a fresh context.
    CairoDevice device(picture_.Context());
    DamageRecorder recorder(device);
    canvas_->OnPaint(recorder);
    picture_.Flush();
    picture_.CopyToWindow(recorder.Damage());
    ++paints_;
}

void X11CanvasHost::Tick(int64_t now) {
    ++ticks_;
    canvas_->OnTick();
    // Keep the rhythm: a tick that came a little late is made up at once,
    // but after falling a whole period behind (a SIGSTOP, a suspended
    // machine) the period is taken up from now instead of firing a burst.
    deadlineNs_ += periodNs_;
    if (deadlineNs_ + periodNs_ <= now) deadlineNs_ = now + periodNs_;
}

void X11CanvasHost::HandleSaverInput(XEvent& event) {
    switch (event.type) {
        case KeyPress: saver_->OnButtonOrKeyDown(); break;
        case ButtonPress:
            if (event.xbutton.button < kFirstWheelButton || event.xbutton.button > kLastWheelButton)
                saver_->OnButtonOrKeyDown();
            break;
        // Root coordinates: the windows of all monitors share one first point.
        case MotionNotify: saver_->OnMouseMove(event.xmotion.x_root, event.xmotion.y_root); break;
        case FocusOut:
            // Grabs (ours included) move the focus only for their duration,
            // and pointer or inferior details are not the window's own focus.
            // Focus passing to another of the saver's windows is not the user.
            if ((event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
                event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer) {
                Window focus = None;
                int revert = 0;
                XGetInputFocus(display_, &focus, &revert);
                if (!IsGroupWindow(focus)) saver_->OnDeactivate();
            }
            break;
        case VisibilityNotify:
            // Stay on top of anything that appears later.
            if (event.xvisibility.state != VisibilityUnobscured) RaiseGroup();
            break;
        default: break;
    }
}

bool X11CanvasHost::IsGroupWindow(Window window) const {
    return window == target_.window || std::find(group_.begin(), group_.end(), window) != group_.end();
}

// The whole group goes on top in one fixed order: where monitors overlap,
// raising one window at a time would make the windows take turns for ever.
void X11CanvasHost::RaiseGroup() {
    if (group_.empty()) {
        XRaiseWindow(display_, target_.window);
        return;
    }
    XRaiseWindow(display_, group_.front());
    std::vector<Window> order = group_;
    XRestackWindows(display_, order.data(), static_cast<int>(order.size()));
}

// The window has a new size: the picture grows (or shrinks) with it, keeping
// what was painted, and the next paint that draws maps the garden onto the
// new area. Until then the window shows the picture as it is.
void X11CanvasHost::Resized(int width, int height) {
    if (width == target_.width && height == target_.height) return;
    if (!OffscreenCanvas::Fits(width, height)) {  // the garden keeps the size it has
        std::fprintf(stderr, "tessaly: the window grew to %dx%d pixels, more than tessaly draws in; it keeps %dx%d\n",
                     width, height, target_.width, target_.height);
        return;
    }
    target_.width = width;
    target_.height = height;
    picture_.Resize(width, height);
    if (canvas_ != nullptr) canvas_->ClientAreaChanged();
    picture_.CopyToWindow(Rect{0, 0, width, height});
}

bool X11CanvasHost::HandleEvent(XEvent& event) {
    if (target_.follows != 0 && target_.follows != target_.window && event.xany.window == target_.follows) {
        if (event.type == ConfigureNotify)
            XResizeWindow(display_, target_.window, static_cast<unsigned>(event.xconfigure.width),
                          static_cast<unsigned>(event.xconfigure.height));
        return true;
    }
    if (event.xany.window != target_.window) return false;
    switch (event.type) {
        case Expose:
            picture_.CopyToWindow(Rect{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                       event.xexpose.y + event.xexpose.height});
            break;
        case ConfigureNotify: Resized(event.xconfigure.width, event.xconfigure.height); break;
        case DestroyNotify:
            if (event.xdestroywindow.window == target_.window) windowGone_ = true;
            break;
        default:
            if (saver_ != nullptr) HandleSaverInput(event);
            break;
    }
    return true;
}

bool X11CanvasHost::TakeGoneError(const XErrorRecord& error) {
    if (!IsGoneError(error) || error.resource != target_.window) return false;
    windowGone_ = true;
    return true;
}

void X11CanvasHost::CheckErrors(const std::vector<X11CanvasHost*>& hosts) {
    const XErrorRecord error = TakeXError();
    if (error.code == 0) return;
    for (X11CanvasHost* host : hosts)
        if (host->TakeGoneError(error)) return;
    char text[160] = "";
    XGetErrorText(hosts.front()->display_, error.code, text, sizeof text);
    std::fprintf(stderr, "tessaly: X error: %s (request %u, id 0x%lx)\n", text, error.request, error.resource);
}

void X11CanvasHost::ReportStats(int64_t now, uint64_t ticks, uint64_t paints) {
    if (!stats_) return;
    if (nextReportNs_ == 0) {
        nextReportNs_ = now + kNsPerSecond;
        return;
    }
    if (now < nextReportNs_) return;
    std::fprintf(stderr, "tessaly: stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld\n",
                 ticks - ticksAtReport_, paints - paintsAtReport_, ticks, ResidentKilobytes());
    std::fflush(stderr);
    ticksAtReport_ = ticks;
    paintsAtReport_ = paints;
    nextReportNs_ += kNsPerSecond;
    if (nextReportNs_ <= now) nextReportNs_ = now + kNsPerSecond;
}

LoopEnd X11CanvasHost::RunTogether(const std::vector<X11CanvasHost*>& hosts) {
    X11CanvasHost& first = *hosts.front();  // its display, signal pipe and statistics serve the group
    Display* display = first.display_;
    SignalPipe& signals = first.signals_;
    std::vector<Window> group;
    for (X11CanvasHost* host : hosts) group.push_back(host->target_.window);
    if (hosts.size() > 1)
        for (X11CanvasHost* host : hosts) host->group_ = group;
    const auto any = [&hosts](bool X11CanvasHost::*flag) {
        return std::any_of(hosts.begin(), hosts.end(), [flag](X11CanvasHost* h) { return h->*flag; });
    };

    const int xfd = ConnectionNumber(display);
    int& signal = first.signal_;  // the one that ends the loop; first one that came during start-up
    if (signals.Ok()) signal = signals.Take();
    LoopEnd end = LoopEnd::Closed;
    for (;;) {
        // Input, expose and structure events first, in order; a posted close
        // is handled after the event that posted it.
        while (!any(&X11CanvasHost::closePosted_) && !any(&X11CanvasHost::windowGone_) && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            for (X11CanvasHost* host : hosts)
                if (host->HandleEvent(event)) break;
        }
        CheckErrors(hosts);
        if (signal != 0) { end = LoopEnd::Signal; break; }
        if (any(&X11CanvasHost::windowGone_)) { end = LoopEnd::WindowGone; break; }
        if (any(&X11CanvasHost::closePosted_)) { end = LoopEnd::Closed; break; }

        int64_t now = MonotonicNs();
        uint64_t ticks = 0, paints = 0;
        for (X11CanvasHost* host : hosts) {
            if (host->timerOn_ && now >= host->deadlineNs_) host->Tick(now);
            if (host->paintPending_) host->Paint();
            ticks += host->ticks_;
            paints += host->paints_;
        }
        XFlush(display);
        now = MonotonicNs();
        first.ReportStats(now, ticks, paints);
        if (any(&X11CanvasHost::closePosted_) || XEventsQueued(display, QueuedAlready) > 0) continue;

        int64_t wait = -1;
        for (X11CanvasHost* host : hosts) {
            if (!host->timerOn_) continue;
            const int64_t due = host->deadlineNs_ > now ? host->deadlineNs_ - now : 0;
            if (wait < 0 || due < wait) wait = due;
        }
        if (first.stats_ && (wait < 0 || first.nextReportNs_ - now < wait))
            wait = std::max<int64_t>(first.nextReportNs_ - now, 0);
        timespec timeout{static_cast<time_t>(wait / kNsPerSecond), static_cast<long>(wait % kNsPerSecond)};
        pollfd fds[2] = {{xfd, POLLIN, 0}, {signals.ReadFd(), POLLIN, 0}};
        const int count = ppoll(fds, signals.Ok() ? 2 : 1, wait < 0 ? nullptr : &timeout, nullptr);
        if (count < 0 && errno != EINTR) {
            std::perror("tessaly: poll");
            end = LoopEnd::Closed;
            break;
        }
        if (count > 0 && signals.Ok() && (fds[1].revents & POLLIN) != 0) signal = signals.Take();
    }
    for (X11CanvasHost* host : hosts) host->TearDown();
    return end;
}

void X11CanvasHost::TearDown() {
    if (canvas_ == nullptr) return;
    timerOn_ = false;
    // The window goes first, then the canvas with its queued figures and scene.
    if (target_.ownsWindow && !windowGone_) XDestroyWindow(display_, target_.window);
    saver_ = nullptr;
    canvas_->AttachHost(nullptr);
    canvas_->OnWindowDestroyed();
    canvas_.reset();
    XSync(display_, False);
    TakeXError();  // a window that vanished meanwhile is no news now
}

}  // namespace tessaly
