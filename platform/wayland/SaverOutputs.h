// The Wayland saver as a whole: one OutputSurface per output of the display,
// kept in step with outputs that come and go, and one end for all of them.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "OutputSurface.h"

namespace tessaly {

class SaverOutputs final : public SaverInput {
public:
    // Covers every output of `display` now and every one added later.
    // All canvases draw from `state`, one after the other, so each output
    // grows a garden of its own.
    SaverOutputs(GdkDisplay* display, SurfaceKind kind, SaverSession& session);
    ~SaverOutputs() override;  // every surface goes, window first, then canvas
    SaverOutputs(const SaverOutputs&) = delete;
    SaverOutputs& operator=(const SaverOutputs&) = delete;

    // SaverInput
    void SurfaceGone() override;

private:
    static void OnMonitorAdded(GdkDisplay*, GdkMonitor* monitor, gpointer self);
    static void OnMonitorRemoved(GdkDisplay*, GdkMonitor* monitor, gpointer self);
    static gboolean OnPrune(gpointer self);

    void Cover(GdkMonitor* monitor);

    GdkDisplay* display_;
    SurfaceKind kind_;
    SaverSession& session_;
    std::vector<std::unique_ptr<OutputSurface>> surfaces_;
    guint pruneSource_ = 0;
};

}  // namespace tessaly
