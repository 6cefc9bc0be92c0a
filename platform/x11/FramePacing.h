// How paints keep pace with what the monitor shows: the Present extension
// says when the frame a paint went out in is on the screen, and the next
// paint waits for that. Without Present, a frame lasts one period of the
// fastest refresh rate among the monitors RandR knows (60 Hz where none).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace tessaly {

struct FramePacing {
    int presentOpcode = 0;  // 0: no Present
    int64_t frameNs = 0;    // the refresh period, for pacing without Present
};

FramePacing QueryFramePacing(Display* display);
// The window's frames are reported to this client.
void WatchFrames(Display* display, const FramePacing& pacing, Window window);
// Asks to hear (as a Present completion with `serial`) when the frame after
// `msc` is on the screen; `msc` 0: the next frame.
void AskForFrame(Display* display, Window window, uint32_t serial, uint64_t msc);

struct FrameShown {
    Window window;
    uint32_t serial;
    uint64_t msc;
};
// A Present completion among the events; false for any other event.
bool ReadFrameShown(Display* display, const FramePacing& pacing, XEvent& event, FrameShown& shown);

}  // namespace tessaly
