#include "Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "cairo/DamageRecorder.h"

namespace tessaly {

namespace {

constexpr int kMonitorsMajor = 1, kMonitorsMinor = 5;  // XRRGetMonitors came with RandR 1.5

std::vector<Rect> RandrMonitors(Display* display) {
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
        major < kMonitorsMajor || (major == kMonitorsMajor && minor < kMonitorsMinor))
        return {};
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    std::vector<Rect> rects;
    for (int i = 0; i < count; ++i)
        rects.push_back({monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width,
                         monitors[i].y + monitors[i].height});
    if (monitors != nullptr) XRRFreeMonitors(monitors);
    return rects;
}

std::vector<Rect> XineramaHeads(Display* display) {
    int event = 0, error = 0;
    if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return {};
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    std::vector<Rect> rects;
    for (int i = 0; i < count; ++i)
        rects.push_back({heads[i].x_org, heads[i].y_org, heads[i].x_org + heads[i].width,
                         heads[i].y_org + heads[i].height});
    if (heads != nullptr) XFree(heads);
    return rects;
}

// Clipped to the root window, without empty or repeated rectangles, in the order given.
std::vector<Rect> Usable(const std::vector<Rect>& rects, int rootWidth, int rootHeight) {
    std::vector<Rect> usable;
    for (const Rect& r : ClipRects(rects, rootWidth, rootHeight))
        if (std::find(usable.begin(), usable.end(), r) == usable.end()) usable.push_back(r);
    return usable;
}

}  // namespace

std::vector<Rect> ChooseMonitors(const std::vector<Rect>& randr, const std::vector<Rect>& xinerama, int rootWidth,
                                 int rootHeight) {
    const std::vector<Rect> monitors = Usable(randr, rootWidth, rootHeight);
    const std::vector<Rect> heads = Usable(xinerama, rootWidth, rootHeight);
    // A server that joins several screens with Xinerama answers RandR for
    // its first screen only: then the heads are the whole truth. Where RandR
    // runs the show, its Xinerama answer repeats the same monitors.
    if (!monitors.empty() && monitors.size() >= heads.size()) return monitors;
    if (!heads.empty()) return heads;
    return {Rect{0, 0, rootWidth, rootHeight}};
}

std::vector<Rect> QueryMonitors(Display* display) {
    const int screen = DefaultScreen(display);
    return ChooseMonitors(RandrMonitors(display), XineramaHeads(display), DisplayWidth(display, screen),
                          DisplayHeight(display, screen));
}

}  // namespace tessaly
