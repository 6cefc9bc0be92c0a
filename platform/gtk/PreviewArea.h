// The live preview of the settings dialog: a GTK drawing area that hosts the
// real canvas. Its ticks and paint requests run on the GLib loop (GlibClock),
// and every paint draws onto an image that outlives it, so each expose of
// the area shows the whole garden drawn so far and nothing is ever erased.
#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "cairo/CairoImage.h"
#include "GlibClock.h"
#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "device/PortableGdiObjects.h"
#include "session/CanvasBinding.h"

namespace tessaly {

class PreviewArea final : public WindowHost {
public:
    // A width x height area; the canvas inside it is not created yet.
    PreviewArea(GardenState& state, int width, int height);
    ~PreviewArea() override;
    PreviewArea(const PreviewArea&) = delete;
    PreviewArea& operator=(const PreviewArea&) = delete;

    GtkWidget* Widget() const { return area_; }
    CanvasWindow& Canvas() { return binding_.Canvas(); }

    // The canvas's creation: starts its timer. Call once the area is in the dialog.
    void Create();

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override;

private:
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static void OnDestroy(GtkWidget* widget, gpointer self);

    void Paint();
    // The window is gone: no more ticks or paints; the canvas lets go of its scene.
    void WindowGone();

    int width_;
    int height_;
    GtkWidget* area_;
    CairoSurface image_;
    PortableGdiObjects objects_;
    CanvasBinding binding_;  // after objects_: the canvas's holders delete their brushes into it
    GlibClock clock_{[this] { binding_.Canvas().OnTick(); }, [this] { Paint(); }};
    bool windowAlive_ = true;
};

}  // namespace tessaly
