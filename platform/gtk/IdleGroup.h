// The settings dialog's group for the idle watcher (the Linux dialog alone):
// whether the garden starts by itself when the computer is idle (the
// autostart entry), the wait and the lock; on GNOME also GNOME's own idle
// delay, and a warning where the wait is not shorter than it.
#pragma once

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <vector>

#include "DialogUnits.h"
#include "linux/SettingsDialog.h"

namespace tessaly {

class IdleGroup {
public:
    IdleGroup(const DialogSettings& settings, const DialogBaseUnits& base);
    ~IdleGroup();
    IdleGroup(const IdleGroup&) = delete;
    IdleGroup& operator=(const IdleGroup&) = delete;

    GtkWidget* Widget() const { return frame_; }
    // Its controls, in tab order.
    std::vector<GtkWidget*> Controls() const { return {start_, wait_, lock_}; }
    // What OK confirms: the box, and the wait and lock within their ranges.
    void Confirm(DialogSettings& settings) const;
    // Once the dialog is shown: the warning only where it applies.
    void ShowGnomeDelay();

private:
    GtkWidget* NewSpinRow(const char* before, GtkWidget* spin, const char* after) const;
    static void OnWaitChanged(GtkSpinButton*, gpointer self);
    static void OnDelayChanged(GSettings*, gchar*, gpointer self);

    const DialogBaseUnits base_;
    GtkWidget* frame_;
    GtkWidget* start_;
    GtkWidget* wait_;
    GtkWidget* lock_;
    GtkWidget* gnomeNote_ = nullptr;
    GtkWidget* gnomeWarning_ = nullptr;
    GSettings* gnome_ = nullptr;  // org.gnome.desktop.session, on GNOME where it is installed
};

}  // namespace tessaly
