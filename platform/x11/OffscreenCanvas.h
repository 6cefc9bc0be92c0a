// The persistent picture behind a canvas window: a server-side pixmap the
// size of the window that every paint draws into with Cairo. The window is
// only ever copied from it (after a paint, and on expose), so nothing the
// garden has painted is ever erased.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <vector>

#include "base/Geometry.h"

namespace tessaly {

class OffscreenCanvas {
public:
    // The picture is as big as the window and lives in the X server's
    // memory: the caller keeps it within the limit of ImageSizeFits.
    OffscreenCanvas(Display* display, Window window, Visual* visual, int depth, int width, int height);
    ~OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;

    // Starts from what `source` shows at (x, y), windows on top of it
    // included; whatever cannot be had (no source, an obscured or unmapped
    // area) stays black.
    void StartFrom(Drawable source, int x, int y);

    // Follows the window to a new size: what was painted stays where it
    // was, and the area the picture gains starts from what the window shows
    // there (as StartFrom does); an area it loses is dropped.
    void Resize(int width, int height);

    cairo_t* Context() const { return cr_; }
    // Copies rectangles of the picture, with everything drawn through
    // Context() so far, to the window (clipped to the picture).
    void CopyToWindow(const std::vector<Rect>& rects);
    void CopyToWindow(const Rect& rect) { CopyToWindow(std::vector<Rect>{rect}); }

private:
    // A black pixmap of width_ x height_ with its Cairo surface and context.
    void CreatePixmap();
    void FreePixmap();

    Display* display_;
    Window window_;
    Visual* visual_;
    int depth_;
    int width_, height_;
    Pixmap pixmap_ = 0;
    GC gc_ = nullptr;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace tessaly
