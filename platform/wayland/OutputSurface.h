// One output's share of the Wayland saver: a surface covering the output
// (an overlay-layer surface, or a full-screen window where the compositor
// has no layer shell), an image at the output's buffer resolution that every
// paint draws into, and the canvas that paints it, driven by a GLib timer.
//
// The image is what the surface shows: nothing painted is ever erased, and
// on a scale-2 output every buffer pixel is a garden pixel.
#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "CairoImage.h"
#include "GlibClock.h"
#include "canvas/FullScreenWindow.h"
#include "canvas/WindowHost.h"
#include "session/SaverSession.h"

namespace tessaly {

enum class SurfaceKind { OverlayLayer, FullScreenWindow };

// What a surface reports to the saver that owns all of them.
class SaverInput {
public:
    virtual ~SaverInput() = default;
    // The surface's window is gone (its output was removed, or the compositor closed it).
    virtual void SurfaceGone() = 0;
};

class OutputSurface final : public WindowHost {
public:
    // The surface's canvas belongs to `session`, which judges the pointer
    // in the compositor's layout, whichever output it is on.
    OutputSurface(GdkMonitor* monitor, SurfaceKind kind, SaverSession& session, SaverInput& saver);
    ~OutputSurface() override;  // the window goes first, then the canvas
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    GdkMonitor* Monitor() const { return monitor_; }
    bool Alive() const { return window_ != nullptr; }

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override;

private:
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static void OnSizeAllocate(GtkWidget* widget, GdkRectangle*, gpointer self);
    static void OnScaleChanged(GtkWidget* widget, GParamSpec*, gpointer self);
    static void OnRealize(GtkWidget* widget, gpointer self);
    static gboolean OnInput(GtkWidget*, GdkEvent* event, gpointer self);
    static void OnDestroy(GtkWidget*, gpointer self);

    void PlaceOnOutput(SurfaceKind kind);
    void FollowSize(GtkWidget* widget);
    void Paint();
    void TearDown();

    GdkMonitor* monitor_;
    SaverInput& saver_;
    GtkWidget* window_;
    CairoSurface image_;
    int width_ = 0, height_ = 0;  // buffer pixels
    SaverSession& session_;
    FullScreenWindow* canvas_ = nullptr;
    GlibClock clock_{[this] { canvas_->OnTick(); }, [this] { Paint(); }};
};

}  // namespace tessaly
