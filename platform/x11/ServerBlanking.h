// Whether the X server's own screen saver has blanked the screen: `xset s
// activate`, its timeout, and DPMS turning the monitors off (the server
// blanks then too) all say so with one event, without any polling.
#pragma once

#include <X11/Xlib.h>

namespace tessaly {

class ServerBlanking {
public:
    // Asks for the server's events; Blanked() holds the state it is in now.
    explicit ServerBlanking(Display* display);
    bool Blanked() const { return blanked_; }
    // True when `event` told of a change (now in Blanked()).
    bool Read(const XEvent& event);

private:
    int eventBase_ = -1;  // -1: the server has no MIT-SCREEN-SAVER
    bool blanked_ = false;
};

}  // namespace tessaly
