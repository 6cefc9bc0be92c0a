#include "Run.h"

#include <glib-unix.h>
#include <gtk-layer-shell.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

#include "SaverOutputs.h"
#include "SignalPipe.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

namespace {

struct SignalWatch {
    SignalPipe& pipe;
    GMainLoop* loop;
    int signal = 0;
};

gboolean OnSignal(gint, GIOCondition, gpointer data) {
    auto* watch = static_cast<SignalWatch*>(data);
    if (const int signal = watch->pipe.Take(); signal != 0) {
        watch->signal = signal;
        g_main_loop_quit(watch->loop);
    }
    return G_SOURCE_CONTINUE;
}

// gtk-layer-shell warns in its own words when the compositor lacks the
// protocol; the fallback is announced in one line of ours instead.
bool LayerShellSupported() {
    const guint quiet = g_log_set_handler(nullptr, G_LOG_LEVEL_WARNING,
                                          [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    const bool supported = gtk_layer_is_supported();
    g_log_remove_handler(nullptr, quiet);
    return supported;
}

}  // namespace

bool RunOnWayland(const CommandLine&, GardenState& state, DrawingEnd& end, std::string& error) {
    SignalPipe signals;  // first: a SIGTERM during start-up still ends cleanly
    // No quiet slide to X11: where Wayland was chosen, it is Wayland or nothing.
    gdk_set_allowed_backends("wayland");
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        error = std::string("cannot connect to the Wayland compositor '") +
                (name != nullptr && *name != '\0' ? name : "wayland-0") + "'";
        return false;
    }
    const bool layerShell = LayerShellSupported();
    if (!layerShell)
        std::fputs("tessaly: the compositor has no layer shell; falling back to a full-screen window on each "
                   "monitor\n",
                   stderr);
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    SignalWatch watch{signals, loop};
    const guint signalSource = signals.Ok() ? g_unix_fd_add(signals.ReadFd(), G_IO_IN, OnSignal, &watch) : 0;
    watch.signal = signals.Ok() ? signals.Take() : 0;  // one that came during start-up
    {
        PortableGdiObjects objects;  // outlives the canvases, which release their brushes into it
        SaverOutputs outputs(gdk_display_get_default(),
                             layerShell ? SurfaceKind::OverlayLayer : SurfaceKind::FullScreenWindow, state,
                             objects, loop);
        if (watch.signal == 0) g_main_loop_run(loop);
    }
    // The surfaces are gone; let the compositor hear it before the process ends.
    gdk_display_flush(gdk_display_get_default());
    if (signalSource != 0) g_source_remove(signalSource);
    g_main_loop_unref(loop);
    end = DrawingEnd{kExitOk, watch.signal};
    return true;
}

}  // namespace tessaly
