#include "SaverOutputs.h"

#include <algorithm>

namespace tessaly {

SaverOutputs::SaverOutputs(GdkDisplay* display, SurfaceKind kind, SaverSession& session)
    : display_(display), kind_(kind), session_(session) {
    for (int i = 0; i < gdk_display_get_n_monitors(display_); ++i) Cover(gdk_display_get_monitor(display_, i));
    g_signal_connect(display_, "monitor-added", G_CALLBACK(OnMonitorAdded), this);
    g_signal_connect(display_, "monitor-removed", G_CALLBACK(OnMonitorRemoved), this);
}

SaverOutputs::~SaverOutputs() {
    g_signal_handlers_disconnect_by_data(display_, this);
    if (pruneSource_ != 0) g_source_remove(pruneSource_);
    surfaces_.clear();
}

void SaverOutputs::Cover(GdkMonitor* monitor) {
    surfaces_.push_back(std::make_unique<OutputSurface>(monitor, kind_, session_, *this));
}

void SaverOutputs::OnMonitorAdded(GdkDisplay*, GdkMonitor* monitor, gpointer self) {
    static_cast<SaverOutputs*>(self)->Cover(monitor);
}

void SaverOutputs::OnMonitorRemoved(GdkDisplay*, GdkMonitor* monitor, gpointer self) {
    auto& surfaces = static_cast<SaverOutputs*>(self)->surfaces_;
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(),
                                  [monitor](const auto& surface) { return surface->Monitor() == monitor; }),
                   surfaces.end());
}

// A window destroyed under a surface (the compositor closed it) is removed
// once its signal handlers have returned.
void SaverOutputs::SurfaceGone() {
    if (pruneSource_ == 0) pruneSource_ = g_idle_add(OnPrune, this);
}

gboolean SaverOutputs::OnPrune(gpointer self) {
    auto* outputs = static_cast<SaverOutputs*>(self);
    outputs->pruneSource_ = 0;
    auto& surfaces = outputs->surfaces_;
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(), [](const auto& s) { return !s->Alive(); }),
                   surfaces.end());
    return G_SOURCE_REMOVE;
}

}  // namespace tessaly
