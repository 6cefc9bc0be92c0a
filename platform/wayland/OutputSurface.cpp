#include "OutputSurface.h"

#include <gtk-layer-shell.h>

#include "CairoDevice.h"
#include "DamageRecorder.h"

namespace tessaly {

namespace {

constexpr GtkLayerShellEdge kEdges[] = {GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT,
                                        GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM};

constexpr int kInputEvents = GDK_KEY_PRESS_MASK | GDK_BUTTON_PRESS_MASK | GDK_POINTER_MOTION_MASK | GDK_TOUCH_MASK;

int MonitorIndex(GdkMonitor* monitor) {
    GdkDisplay* display = gdk_monitor_get_display(monitor);
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i)
        if (gdk_display_get_monitor(display, i) == monitor) return i;
    return 0;
}

}  // namespace

OutputSurface::OutputSurface(GdkMonitor* monitor, SurfaceKind kind, SaverSession& session, SaverInput& saver)
    : monitor_(monitor),
      saver_(saver),
      window_(GTK_WIDGET(g_object_ref_sink(gtk_window_new(GTK_WINDOW_TOPLEVEL)))),
      session_(session) {
    g_object_ref(monitor_);
    gtk_window_set_title(GTK_WINDOW(window_), "Tessaly");
    gtk_widget_set_app_paintable(window_, TRUE);
    gtk_widget_add_events(window_, kInputEvents);
    PlaceOnOutput(kind);
    g_signal_connect(window_, "realize", G_CALLBACK(OnRealize), this);
    g_signal_connect(window_, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
    g_signal_connect(window_, "notify::scale-factor", G_CALLBACK(OnScaleChanged), this);
    g_signal_connect(window_, "draw", G_CALLBACK(OnDraw), this);
    for (const char* input : {"key-press-event", "button-press-event", "motion-notify-event", "touch-event"})
        g_signal_connect(window_, input, G_CALLBACK(OnInput), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
    gtk_widget_show(window_);
}

OutputSurface::~OutputSurface() {
    if (window_ != nullptr) {
        GtkWidget* window = window_;
        g_signal_handlers_disconnect_by_data(window, this);
        gtk_widget_destroy(window);
        TearDown();
        g_object_unref(window);
    }
    g_object_unref(monitor_);
}

void OutputSurface::PlaceOnOutput(SurfaceKind kind) {
    GtkWindow* window = GTK_WINDOW(window_);
    if (kind == SurfaceKind::FullScreenWindow) {
        gtk_window_set_decorated(window, FALSE);
        gtk_window_fullscreen_on_monitor(window, gtk_window_get_screen(window), MonitorIndex(monitor_));
        return;
    }
    gtk_layer_init_for_window(window);
    gtk_layer_set_namespace(window, "tessaly");
    gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_OVERLAY);
    gtk_layer_set_monitor(window, monitor_);
    for (GtkLayerShellEdge edge : kEdges) gtk_layer_set_anchor(window, edge, TRUE);
    // -1: not pushed aside by panels' exclusive zones, so it covers them too.
    gtk_layer_set_exclusive_zone(window, -1);
    gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_EXCLUSIVE);
}

void OutputSurface::OnRealize(GtkWidget* widget, gpointer) {
    GdkWindow* window = gtk_widget_get_window(widget);
    GdkCursor* blank = gdk_cursor_new_for_display(gdk_window_get_display(window), GDK_BLANK_CURSOR);
    gdk_window_set_cursor(window, blank);
    g_object_unref(blank);
}

void OutputSurface::OnSizeAllocate(GtkWidget* widget, GdkRectangle*, gpointer self) {
    static_cast<OutputSurface*>(self)->FollowSize(widget);
}

void OutputSurface::OnScaleChanged(GtkWidget* widget, GParamSpec*, gpointer self) {
    static_cast<OutputSurface*>(self)->FollowSize(widget);
}

// The image follows the surface's size in buffer pixels (logical size times
// the output's scale); what was painted stays where it was, new area starts
// black, and the canvas maps its next drawing onto the new size.
void OutputSurface::FollowSize(GtkWidget* widget) {
    const int scale = gtk_widget_get_scale_factor(widget);
    const int width = gtk_widget_get_allocated_width(widget) * scale;
    const int height = gtk_widget_get_allocated_height(widget) * scale;
    if (width <= 0 || height <= 0 || (image_ != nullptr && width == width_ && height == height_)) return;
    CairoSurface image = CreateFilledImage(width, height, Rgb(0, 0, 0));
    if (image_ != nullptr) {
        CairoContext cr(cairo_create(image.get()));
        PaintImage(cr.get(), image_.get());
    }
    image_ = std::move(image);
    width_ = width;
    height_ = height;
    if (canvas_ != nullptr) canvas_->ClientAreaChanged();
}

gboolean OutputSurface::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
    auto* surface = static_cast<OutputSurface*>(self);
    if (surface->image_ == nullptr) return TRUE;
    // One image pixel on each buffer pixel: undo the scale GTK draws with.
    const double scale = gtk_widget_get_scale_factor(widget);
    cairo_save(cr);
    cairo_scale(cr, 1 / scale, 1 / scale);
    PaintImage(cr, surface->image_.get());
    cairo_restore(cr);
    // The canvas starts once its surface is on the output at its real size.
    if (surface->canvas_ == nullptr) surface->canvas_ = &surface->session_.AddSaverCanvas(*surface);
    return TRUE;
}

gboolean OutputSurface::OnInput(GtkWidget*, GdkEvent* event, gpointer self) {
    auto* surface = static_cast<OutputSurface*>(self);
    if (surface->canvas_ == nullptr) return TRUE;
    switch (event->type) {
        case GDK_KEY_PRESS:
        case GDK_BUTTON_PRESS:  // the wheel comes as scroll events, never as a press
        case GDK_TOUCH_BEGIN: surface->canvas_->OnButtonOrKeyDown(); break;
        case GDK_MOTION_NOTIFY: {
            // Only motions count: the enter a surface gets when it appears
            // under the pointer is not the user moving it. Surfaces report in
            // their own logical pixels; the layout is what the pointer
            // really moves across, from one output to the next.
            double x = 0, y = 0;
            gdk_event_get_coords(event, &x, &y);
            GdkRectangle output{};
            gdk_monitor_get_geometry(surface->monitor_, &output);
            surface->canvas_->OnMouseMove(output.x + static_cast<int>(x), output.y + static_cast<int>(y));
            break;
        }
        default: break;
    }
    return TRUE;
}

void OutputSurface::StartTicking(unsigned periodMs) {
    if (window_ != nullptr) clock_.Start(periodMs);
}

void OutputSurface::StopTicking() { clock_.Stop(); }

void OutputSurface::RequestPaint() {
    if (window_ != nullptr) clock_.RequestPaint();
}

// The surface has no background, so there is nothing to erase first.
void OutputSurface::RepaintNow() {
    if (window_ != nullptr) Paint();
}

Size OutputSurface::ClientSize() { return Size{width_, height_}; }


void OutputSurface::Paint() {
    clock_.CancelPaint();
    if (canvas_ == nullptr || image_ == nullptr) return;
    std::vector<Rect> damage;
    {
        CairoContext cr(cairo_create(image_.get()));
        CairoDevice device(cr.get());
        DamageRecorder recorder(device);
        canvas_->OnPaint(recorder);
        damage = ClipRects(recorder.Damage(), width_, height_);
    }
    cairo_surface_flush(image_.get());
    // Only what the figures touched is redrawn and sent to the compositor,
    // in logical pixels, rounded outward.
    if (damage.size() > kMaxDamageRects) damage = {BoundingRect(damage)};
    const int scale = gtk_widget_get_scale_factor(window_);
    for (const Rect& r : damage)
        gtk_widget_queue_draw_area(window_, r.left / scale, r.top / scale, (r.right + scale - 1) / scale - r.left / scale,
                                   (r.bottom + scale - 1) / scale - r.top / scale);
}

void OutputSurface::OnDestroy(GtkWidget*, gpointer self) {
    auto* surface = static_cast<OutputSurface*>(self);
    GtkWidget* window = surface->window_;
    surface->TearDown();
    surface->window_ = nullptr;
    g_object_unref(window);
    surface->saver_.SurfaceGone();
}

// After the window: no more ticks or paints; the canvas deletes its queued
// figures and its scene, and goes.
void OutputSurface::TearDown() {
    clock_.Stop();
    session_.Remove(*this);
    canvas_ = nullptr;
}

}  // namespace tessaly
