#include "OffscreenCanvas.h"

#include <cairo-xlib.h>

#include <algorithm>

#include "cairo/DamageRecorder.h"

namespace tessaly {

OffscreenCanvas::OffscreenCanvas(Display* display, Window window, Visual* visual, int depth, int width,
                                 int height)
    : display_(display),
      window_(window),
      visual_(visual),
      depth_(depth),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)) {
    CreatePixmap();
}

OffscreenCanvas::~OffscreenCanvas() {
    FreePixmap();
    XFreeGC(display_, gc_);
}

void OffscreenCanvas::CreatePixmap() {
    pixmap_ = XCreatePixmap(display_, window_, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                            static_cast<unsigned>(depth_));
    if (gc_ == nullptr) {
        XGCValues values{};
        values.graphics_exposures = False;
        values.foreground = 0;  // black in every true-colour visual
        gc_ = XCreateGC(display_, pixmap_, GCGraphicsExposures | GCForeground, &values);
    }
    XFillRectangle(display_, pixmap_, gc_, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
    surface_ = cairo_xlib_surface_create(display_, pixmap_, visual_, width_, height_);
    cr_ = cairo_create(surface_);
}

void OffscreenCanvas::FreePixmap() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
    XFreePixmap(display_, pixmap_);
}

void OffscreenCanvas::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    cairo_surface_flush(surface_);
    const Pixmap old = pixmap_;
    const int oldWidth = width_, oldHeight = height_;
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
    width_ = width;
    height_ = height;
    CreatePixmap();
    // The new strips on the right and at the bottom, then the old picture.
    XSetSubwindowMode(display_, gc_, IncludeInferiors);
    if (width_ > oldWidth)
        XCopyArea(display_, window_, pixmap_, gc_, oldWidth, 0, static_cast<unsigned>(width_ - oldWidth),
                  static_cast<unsigned>(height_), oldWidth, 0);
    if (height_ > oldHeight)
        XCopyArea(display_, window_, pixmap_, gc_, 0, oldHeight, static_cast<unsigned>(width_),
                  static_cast<unsigned>(height_ - oldHeight), 0, oldHeight);
    XSetSubwindowMode(display_, gc_, ClipByChildren);
    XCopyArea(display_, old, pixmap_, gc_, 0, 0, static_cast<unsigned>(std::min(width_, oldWidth)),
              static_cast<unsigned>(std::min(height_, oldHeight)), 0, 0);
    XFreePixmap(display_, old);
    cairo_surface_mark_dirty(surface_);
}

void OffscreenCanvas::StartFrom(Drawable source, int x, int y) {
    XSetSubwindowMode(display_, gc_, IncludeInferiors);
    XCopyArea(display_, source, pixmap_, gc_, x, y, static_cast<unsigned>(width_),
              static_cast<unsigned>(height_), 0, 0);
    XSetSubwindowMode(display_, gc_, ClipByChildren);
    // Cairo must not assume it knows what the pixmap holds.
    cairo_surface_mark_dirty(surface_);
}

void OffscreenCanvas::CopyToWindow(const std::vector<Rect>& rects) {
    cairo_surface_flush(surface_);  // Cairo's drawing reaches the pixmap first
    const std::vector<Rect> clipped = ClipRects(rects, width_, height_);
    if (clipped.empty()) return;
    const Rect box = BoundingRect(clipped);
    const bool clip = clipped.size() > 1 && clipped.size() <= kMaxDamageRects;
    if (clip) {
        std::vector<XRectangle> xrects;
        xrects.reserve(clipped.size());
        for (const Rect& r : clipped)
            xrects.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                              static_cast<unsigned short>(r.right - r.left),
                              static_cast<unsigned short>(r.bottom - r.top)});
        XSetClipRectangles(display_, gc_, 0, 0, xrects.data(), static_cast<int>(xrects.size()), Unsorted);
    }
    XCopyArea(display_, pixmap_, window_, gc_, box.left, box.top, static_cast<unsigned>(box.right - box.left),
              static_cast<unsigned>(box.bottom - box.top), box.left, box.top);
    if (clip) XSetClipMask(display_, gc_, None);
}

}  // namespace tessaly
