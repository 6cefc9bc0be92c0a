#include "FramePacing.h"

#include <X11/extensions/Xpresent.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "linux/Clock.h"

namespace tessaly {

namespace {

constexpr double kUsualHz = 60;

// The fastest refresh rate of the CRTCs that show something.
double FastestRefreshHz(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return 0;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr) return 0;
    double fastest = 0;
    for (int c = 0; c < resources->ncrtc; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc == nullptr) continue;
        for (int m = 0; m < resources->nmode && crtc->mode != None; ++m) {
            const XRRModeInfo& mode = resources->modes[m];
            if (mode.id == crtc->mode && mode.hTotal != 0 && mode.vTotal != 0)
                fastest = std::max(fastest, static_cast<double>(mode.dotClock) / (mode.hTotal * mode.vTotal));
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return fastest;
}

}  // namespace

FramePacing QueryFramePacing(Display* display) {
    FramePacing pacing;
    int opcode = 0, eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XPresentQueryExtension(display, &opcode, &eventBase, &errorBase) &&
        XPresentQueryVersion(display, &major, &minor) != 0)
        pacing.presentOpcode = opcode;
    const double hz = FastestRefreshHz(display);
    pacing.frameNs = static_cast<int64_t>(kNsPerSecond / (hz >= 1 ? hz : kUsualHz));
    return pacing;
}

void WatchFrames(Display* display, const FramePacing& pacing, Window window) {
    if (pacing.presentOpcode != 0) XPresentSelectInput(display, window, PresentCompleteNotifyMask);
}

void AskForFrame(Display* display, Window window, uint32_t serial, uint64_t msc) {
    // The frame after the last one seen; without one, the next to come.
    XPresentNotifyMSC(display, window, serial, msc != 0 ? msc + 1 : 0, msc != 0 ? 0 : 1, 0);
}

bool ReadFrameShown(Display* display, const FramePacing& pacing, XEvent& event, FrameShown& shown) {
    if (event.type != GenericEvent || pacing.presentOpcode == 0 || event.xcookie.extension != pacing.presentOpcode)
        return false;
    if (!XGetEventData(display, &event.xcookie)) return false;
    bool complete = false;
    if (event.xcookie.evtype == PresentCompleteNotify) {
        const auto* notify = static_cast<const XPresentCompleteNotifyEvent*>(event.xcookie.data);
        shown = {notify->window, notify->serial_number, notify->msc};
        complete = true;
    }
    XFreeEventData(display, &event.xcookie);
    return complete;
}

}  // namespace tessaly
