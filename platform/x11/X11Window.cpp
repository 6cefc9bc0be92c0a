#include "X11Window.h"

#include <time.h>

#include <string>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "cairo/DamageRecorder.h"

namespace tessaly {

X11Window::X11Window(Display* display, const CanvasTarget& target, const Warn& warn)
    : display_(display),
      target_(target),
      warn_(warn),
      picture_(display, target.window, target.visual, target.depth, target.width, target.height) {}

X11Window::~X11Window() {
    if (target_.ownsWindow && !gone_) XDestroyWindow(display_, target_.window);
}

void X11Window::Tick(int64_t nowNs) {
    if (!timer_.Due(nowNs)) return;
    ++ticks_;
    canvas_->OnTick();
}

void X11Window::Paint() {
    paintPending_ = false;
    if (canvas_ == nullptr) return;
    // A fresh device per paint, as BeginPaint hands out a fresh context;
    // only what the figures touched is copied to the window.
    CairoDevice device(picture_.Context());
    DamageRecorder recorder(device);
    canvas_->OnPaint(recorder);
    picture_.CopyToWindow(recorder.Damage());
    ++paints_;
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
        case DestroyNotify: gone_ = true; break;
        default: break;
    }
    return true;
}

}  // namespace tessaly
