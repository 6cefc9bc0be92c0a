// The persistent picture behind a canvas window: a server-side pixmap the
// size of the window that every paint draws into. The window is only ever
// copied from it (after a paint, and on expose), so nothing the garden has
// painted is ever erased. GDI's pixel runs are filled as rectangles by the
// server itself, in the colour the window's visual gives (Cairo draws for
// visuals that are no true colour).
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <vector>

#include "base/Geometry.h"
#include "cairo/CairoDevice.h"

namespace tessaly {

class OffscreenCanvas final : public PixelRunSink {
public:
    // The picture is as big as the window and lives in the X server's
    // memory: the caller keeps it within the limit of ImageSizeFits.
    OffscreenCanvas(Display* display, Window window, Visual* visual, int depth, int width, int height);
    ~OffscreenCanvas() override;
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
    // Where a paint's pixel runs go; null where Cairo must draw them.
    PixelRunSink* Runs() { return channels_[0].bits != 0 ? this : nullptr; }
    void Fill(const std::vector<PixelRun>& runs, ColourRef colour) override;
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
    GC fillGc_ = nullptr;
    struct Channel {
        int shift = 0, bits = 0;
    } channels_[3];  // red, green, blue of a true-colour visual
    std::vector<XRectangle> rectangles_;  // reused between fills
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace tessaly
