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
        case MotionNotify: saver_->OnMouseMove(event.xmotion.x, event.xmotion.y); break;
        case FocusOut:
            // Grabs (ours included) move the focus only for their duration,
            // and pointer or inferior details are not the window's own focus.
            if ((event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
                event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
                saver_->OnDeactivate();
            break;
        case VisibilityNotify:
            // Stay on top of anything that appears later.
            if (event.xvisibility.state != VisibilityUnobscured) XRaiseWindow(display_, target_.window);
            break;
        default: break;
    }
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

void X11CanvasHost::HandleEvent(XEvent& event) {
    if (target_.follows != 0 && target_.follows != target_.window && event.xany.window == target_.follows) {
        if (event.type == ConfigureNotify)
            XResizeWindow(display_, target_.window, static_cast<unsigned>(event.xconfigure.width),
                          static_cast<unsigned>(event.xconfigure.height));
        return;
    }
    if (event.xany.window != target_.window) return;
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
}

void X11CanvasHost::CheckErrors() {
    const XErrorRecord error = TakeXError();
    if (error.code == 0) return;
    if (IsGoneError(error) && error.resource == target_.window) {
        windowGone_ = true;
        return;
    }
    char text[160] = "";
    XGetErrorText(display_, error.code, text, sizeof text);
    std::fprintf(stderr, "tessaly: X error: %s (request %u, id 0x%lx)\n", text, error.request, error.resource);
}

void X11CanvasHost::ReportStats(int64_t now) {
    if (!stats_) return;
    if (nextReportNs_ == 0) {
        nextReportNs_ = now + kNsPerSecond;
        return;
    }
    if (now < nextReportNs_) return;
    std::fprintf(stderr, "tessaly: stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld\n",
                 ticks_ - ticksAtReport_, paints_ - paintsAtReport_, ticks_, ResidentKilobytes());
    std::fflush(stderr);
    ticksAtReport_ = ticks_;
    paintsAtReport_ = paints_;
    nextReportNs_ += kNsPerSecond;
    if (nextReportNs_ <= now) nextReportNs_ = now + kNsPerSecond;
}

LoopEnd X11CanvasHost::Run() {
    const int xfd = ConnectionNumber(display_);
    if (signals_.Ok()) signal_ = signals_.Take();  // one that came during start-up
    LoopEnd end = LoopEnd::Closed;
    for (;;) {
        // Input, expose and structure events first, in order; a posted close
        // is handled after the event that posted it.
        while (!closePosted_ && !windowGone_ && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            HandleEvent(event);
        }
        CheckErrors();
        if (signal_ != 0) { end = LoopEnd::Signal; break; }
        if (windowGone_) { end = LoopEnd::WindowGone; break; }
        if (closePosted_) { end = LoopEnd::Closed; break; }

        int64_t now = MonotonicNs();
        if (timerOn_ && now >= deadlineNs_) Tick(now);
        if (paintPending_) Paint();
        XFlush(display_);
        now = MonotonicNs();
        ReportStats(now);
        if (closePosted_ || XEventsQueued(display_, QueuedAlready) > 0) continue;

        int64_t wait = -1;
        if (timerOn_) wait = deadlineNs_ > now ? deadlineNs_ - now : 0;
        if (stats_ && (wait < 0 || nextReportNs_ - now < wait)) wait = std::max<int64_t>(nextReportNs_ - now, 0);
        timespec timeout{static_cast<time_t>(wait / kNsPerSecond), static_cast<long>(wait % kNsPerSecond)};
        pollfd fds[2] = {{xfd, POLLIN, 0}, {signals_.ReadFd(), POLLIN, 0}};
        const int count = ppoll(fds, signals_.Ok() ? 2 : 1, wait < 0 ? nullptr : &timeout, nullptr);
        if (count < 0 && errno != EINTR) {
            std::perror("tessaly: poll");
            end = LoopEnd::Closed;
            break;
        }
        if (count > 0 && signals_.Ok() && (fds[1].revents & POLLIN) != 0) signal_ = signals_.Take();
    }
    TearDown();
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
