#include "X11Window.h"

#include <string>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "cairo/DamageRecorder.h"

namespace tessaly {

namespace {

// A Present completion later than this many frames is not waited for.
constexpr int64_t kFramesWaitedFor = 6;
// A paint's frame may be paced a little late, so wake-ups can coincide.
constexpr int64_t kFrameSlackNs = kNsPerMs;

}  // namespace

X11Window::X11Window(Display* display, EventLoop& loop, const FramePacing& pacing, const CanvasTarget& target,
                     const Warn& warn)
    : display_(display),
      pacing_(pacing),
      target_(target),
      warn_(warn),
      picture_(display, target.window, target.visual, target.depth, target.width, target.height) {
    // Ticks hold their period to the microsecond: 5 ms at the top speed.
    tick_.Attach(loop, 1, [this] { Tick(); });
    frameWait_.Attach(loop, kFrameSlackNs, [this] { FrameDone(); });
    WatchFrames(display_, pacing_, target_.window);
}

X11Window::~X11Window() {
    if (target_.ownsWindow && !gone_) XDestroyWindow(display_, target_.window);
}

void X11Window::StartTicking(unsigned periodMs) {
    timer_.Start(periodMs);
    tick_.At(timer_.Deadline());
}

void X11Window::StopTicking() {
    timer_.Stop();
    tick_.Off();
}

// A tick as the canvas's timer asks; the paint it asks for goes out at once
// unless the last paint's frame is still to come.
void X11Window::Tick() {
    if (!timer_.Due(MonotonicNs())) return tick_.At(timer_.Deadline());
    tick_.At(timer_.Deadline());
    ++ticks_;
    canvas_->OnTick();
    if (paintPending_ && !waitingForFrame_) Paint();
}

void X11Window::Paint() {
    paintPending_ = false;
    if (canvas_ == nullptr) return;
    // A fresh device per paint, as BeginPaint hands out a fresh context;
    // only what the figures touched is copied to the window.
    CairoDevice device(picture_.Context(), CairoStyle::GdiPixels, picture_.Runs());
    DamageRecorder recorder(device);
    canvas_->OnPaint(recorder);
    if (recorder.Damage().empty()) return;
    picture_.CopyToWindow(recorder.Damage());
    ++paints_;
    // Pacing matters only where ticks come faster than frames: a slower
    // garden asks for no frame, and wakes for none.
    if (timer_.Period() >= 2 * pacing_.frameNs) return;
    waitingForFrame_ = true;
    if (pacing_.presentOpcode != 0) AskForFrame(display_, target_.window, ++frameSerial_, lastMsc_);
    frameWait_.At(MonotonicNs() + pacing_.frameNs * (pacing_.presentOpcode != 0 ? kFramesWaitedFor : 1));
}

void X11Window::FrameShown(uint32_t serial, uint64_t msc) {
    lastMsc_ = msc;
    if (serial == frameSerial_ && waitingForFrame_) FrameDone();
}

void X11Window::FrameDone() {
    waitingForFrame_ = false;
    frameWait_.Off();
    if (paintPending_ && Seen()) Paint();
}

void X11Window::ServerBlanked(bool blanked) {
    blanked_ = blanked;
    UpdateSeen();
}

void X11Window::UpdateSeen() {
    if (canvas_ != nullptr) canvas_->SetVisible(!covered_ && !blanked_);
}

// The window has a new size: the picture grows (or shrinks) with it, keeping
// what was painted, and the next paint that draws maps the garden onto the
// new area. Until then the window shows the picture as it is.
void X11Window::Resized(int width, int height) {
    if (width == target_.width && height == target_.height) return;
    if (std::string error; !ImageSizeFits(width, height, error)) {  // the garden keeps the size it has
        warn_("the window grew: " + error + "; it keeps " + std::to_string(target_.width) + "x" +
              std::to_string(target_.height));
        return;
    }
    target_.width = width;
    target_.height = height;
    picture_.Resize(width, height);
    if (canvas_ != nullptr) canvas_->ClientAreaChanged();
    picture_.CopyToWindow(Rect{0, 0, width, height});
}

bool X11Window::HandleEvent(const XEvent& event) {
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
        case VisibilityNotify:
            covered_ = event.xvisibility.state == VisibilityFullyObscured;
            UpdateSeen();
            break;
        case DestroyNotify: gone_ = true; break;
        default: break;
    }
    return true;
}

}  // namespace tessaly
