#include "PreviewArea.h"

#include "cairo/CairoDevice.h"

namespace tessaly {

PreviewArea::PreviewArea(GardenState& state, int width, int height)
    : width_(width),
      height_(height),
      area_(GTK_WIDGET(g_object_ref_sink(gtk_drawing_area_new()))),
      // Transparent at first: the preview starts on the dialog's own
      // background, and the garden piles up over it.
      image_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      binding_(std::make_unique<CanvasWindow>(state, objects_)) {
    gtk_widget_set_size_request(area_, width_, height_);
    gtk_widget_set_halign(area_, GTK_ALIGN_START);
    gtk_widget_set_valign(area_, GTK_ALIGN_START);
    g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(area_, "destroy", G_CALLBACK(OnDestroy), this);
}

PreviewArea::~PreviewArea() {
    if (windowAlive_) {
        g_signal_handlers_disconnect_by_data(area_, this);
        WindowGone();
    }
    g_object_unref(area_);
}

void PreviewArea::Create() { binding_.Bind(*this); }

void PreviewArea::StartTicking(unsigned periodMs) {
    if (windowAlive_) clock_.Start(periodMs);
}

void PreviewArea::StopTicking() { clock_.Stop(); }

void PreviewArea::RequestPaint() {
    if (windowAlive_) clock_.RequestPaint();
}

// The canvas has no background, so there is nothing to erase first.
void PreviewArea::RepaintNow() {
    if (windowAlive_) Paint();
}

Size PreviewArea::ClientSize() { return Size{width_, height_}; }

void PreviewArea::Paint() {
    clock_.CancelPaint();
    {
        CairoContext cr(cairo_create(image_.get()));
        CairoDevice device(cr.get());
        binding_.Canvas().OnPaint(device);
    }
    cairo_surface_flush(image_.get());
    gtk_widget_queue_draw(area_);
}

gboolean PreviewArea::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    PaintImage(cr, static_cast<PreviewArea*>(self)->image_.get());
    return TRUE;
}

void PreviewArea::OnDestroy(GtkWidget*, gpointer self) {
    static_cast<PreviewArea*>(self)->WindowGone();
}

void PreviewArea::WindowGone() {
    if (!windowAlive_) return;
    windowAlive_ = false;
    binding_.Unbind();
}

}  // namespace tessaly
