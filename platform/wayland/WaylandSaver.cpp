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
    SaverSession& session;
};

gboolean OnSignal(gint, GIOCondition, gpointer data) {
    auto* watch = static_cast<SignalWatch*>(data);
    watch->session.Signalled(watch->pipe.Take());
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

bool RunOnWayland(const CommandLine&, GardenState& state, const Warn& warn, DrawingEnd& end, std::string& error) {
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
    if (!layerShell) warn("the compositor has no layer shell; falling back to a full-screen window on each monitor");
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    int signal = 0;
    {
        PortableGdiObjects objects;  // outlives the canvases, which release their brushes into it
        SaverSession session(state, objects, [loop] { g_main_loop_quit(loop); });
        SignalWatch watch{signals, session};
        const guint signalSource = signals.Ok() ? g_unix_fd_add(signals.ReadFd(), G_IO_IN, OnSignal, &watch) : 0;
        if (signals.Ok()) session.Signalled(signals.Take());  // one that came during start-up
        {
            SaverOutputs outputs(gdk_display_get_default(),
                                 layerShell ? SurfaceKind::OverlayLayer : SurfaceKind::FullScreenWindow, session);
            if (session.Running()) g_main_loop_run(loop);
        }
        if (signalSource != 0) g_source_remove(signalSource);
        signal = session.EndingSignal();
    }
    // The surfaces are gone; let the compositor hear it before the process ends.
    gdk_display_flush(gdk_display_get_default());
    g_main_loop_unref(loop);
    end = DrawingEnd{kExitOk, signal};
    return true;
}

}  // namespace tessaly
