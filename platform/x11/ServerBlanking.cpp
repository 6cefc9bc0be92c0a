#include "ServerBlanking.h"

#include <X11/extensions/scrnsaver.h>

namespace tessaly {

ServerBlanking::ServerBlanking(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) return;
    eventBase_ = eventBase;
    const Window root = DefaultRootWindow(display);
    XScreenSaverSelectInput(display, root, ScreenSaverNotifyMask);
    if (XScreenSaverInfo* info = XScreenSaverAllocInfo()) {
        if (XScreenSaverQueryInfo(display, root, info)) blanked_ = info->state == ScreenSaverOn;
        XFree(info);
    }
}

bool ServerBlanking::Read(const XEvent& event) {
    if (eventBase_ < 0 || event.type != eventBase_ + ScreenSaverNotify) return false;
    const bool blanked = reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state == ScreenSaverOn;
    const bool changed = blanked != blanked_;
    blanked_ = blanked;
    return changed;
}

}  // namespace tessaly
