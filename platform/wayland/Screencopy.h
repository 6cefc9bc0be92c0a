// One picture of an output as it is now, through the compositor's screen
// capture (wlr-screencopy), for the saver to grow its garden over, as it
// does over the screen on X11 and Windows. Where the capture fails, or
// offers no format we read, there is no picture and the saver starts black.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "cairo/CairoImage.h"
#include "Client.h"
#include "ShmPool.h"

namespace tessaly {

class OutputCapture {
public:
    // Asks for the next frame of `output`, without the cursor; `answered`
    // is called when the compositor has answered (from its event: the
    // capture must not be destroyed there).
    OutputCapture(const Globals& globals, wl_output* output, std::function<void()> answered);
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    // The picture in Cairo's RGB24 (rows top first), or null. The capture is
    // the output's screen as it is scanned out: `transform` (the output's
    // wl_output_transform) turns it the way the surfaces on it are seen.
    CairoSurface Take(int32_t transform);

private:
    void Offered(uint32_t format, uint32_t width, uint32_t height, uint32_t stride);
    void Copy();
    void Finish(bool ready);

    static const zwlr_screencopy_frame_v1_listener kFrameListener;

    wl_shm* shm_;
    uint32_t version_;
    std::function<void()> answered_;
    zwlr_screencopy_frame_v1* frame_;
    bool offered_ = false;  // a wl_shm format we read was offered
    uint32_t format_ = 0;
    int width_ = 0, height_ = 0, stride_ = 0;
    bool yInvert_ = false;
    bool copying_ = false;
    bool done_ = false;
    bool ready_ = false;
    std::unique_ptr<ShmPool> pool_;
    ShmBuffer* buffer_ = nullptr;
};

}  // namespace tessaly
