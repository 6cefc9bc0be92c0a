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
    if (visual_ != nullptr && visual_->c_class == TrueColor) {
        const unsigned long masks[3] = {visual_->red_mask, visual_->green_mask, visual_->blue_mask};
        for (int c = 0; c < 3; ++c) {
            channels_[c].shift = masks[c] != 0 ? __builtin_ctzl(masks[c]) : 0;
            channels_[c].bits = __builtin_popcountl(masks[c]);
        }
        if (channels_[0].bits == 0 || channels_[1].bits == 0 || channels_[2].bits == 0) channels_[0].bits = 0;
    }
    CreatePixmap();
    fillGc_ = XCreateGC(display_, pixmap_, 0, nullptr);
}

OffscreenCanvas::~OffscreenCanvas() {
    FreePixmap();
    XFreeGC(display_, fillGc_);
    XFreeGC(display_, gc_);
}

// One request of rectangles per colour; X coordinates are 16-bit, which
// every picture within the size limit fits.
void OffscreenCanvas::Fill(const std::vector<PixelRun>& runs, ColourRef colour) {
    const unsigned values[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    unsigned long pixel = 0;
    for (int c = 0; c < 3; ++c) {
        const unsigned long top = (1ul << channels_[c].bits) - 1;
        pixel |= ((values[c] * top + 127) / 255) << channels_[c].shift;
    }
    // Bits of no channel (a depth-32 visual's alpha) are set: opaque.
    pixel |= ~(visual_->red_mask | visual_->green_mask | visual_->blue_mask) &
             (depth_ >= 32 ? ~0ul : (1ul << depth_) - 1);
    rectangles_.clear();
    for (const PixelRun& run : runs) {
        const int left = std::max(run.x, 0), right = std::min(run.x + run.width, width_);
        const int top = std::max(run.y, 0), bottom = std::min(run.y + run.height, height_);
        if (left < right && top < bottom)
            rectangles_.push_back({static_cast<short>(left), static_cast<short>(top),
                                   static_cast<unsigned short>(right - left), static_cast<unsigned short>(bottom - top)});
    }
    if (rectangles_.empty()) return;
    XSetForeground(display_, fillGc_, pixel);
    XFillRectangles(display_, pixmap_, fillGc_, rectangles_.data(), static_cast<int>(rectangles_.size()));
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
