// The picture of one output, kept in the shared-memory buffers that show it,
// with no copy of its own: the latest buffer holds all of it. For a frame, a
// buffer the compositor does not hold is brought up to date by copying from
// the latest only what changed since it last held the picture, and is then
// painted into directly and shown. Where the compositor lets go of a buffer
// as soon as it has read it, one buffer does it all and nothing is copied;
// where it holds the buffer it shows until the next one comes, two take turns.
//
// Nothing painted is lost when the output changes: a new size keeps every
// pixel that still fits.
#pragma once

#include <cairo.h>
#include <pixman.h>
#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Geometry.h"

#include "ShmPool.h"

namespace tessaly {

class Picture {
public:
    // `released`: a buffer came back from the compositor.
    Picture(wl_shm* shm, std::function<void()> released) : shm_(shm), released_(std::move(released)) {}

    int Width() const { return pool_ != nullptr ? pool_->Width() : 0; }
    int Height() const { return pool_ != nullptr ? pool_->Height() : 0; }

    // A width x height picture of `start` (what the output showed) fitted
    // to it, or black when `start` is null. False with the reason.
    bool Start(int width, int height, cairo_surface_t* start, std::string& error);
    // A new size. `sameScreen`: the output's own pixels did not change (only
    // its scale did), so the picture covers the same part of the screen as
    // before and is scaled to the new size, the user seeing what he saw;
    // otherwise every pixel stays where it is and new area is black. False
    // with the reason, keeping the size it has.
    bool Resize(int width, int height, bool sameScreen, std::string& error);

    // The buffer to paint into and show next, holding the whole picture;
    // null while the compositor holds every buffer.
    ShmBuffer* Next();
    // These rectangles of the buffer from Next were painted (clipped to the
    // picture here): the other buffers lack them, and `unshown` gains them.
    // False when they cover nothing.
    bool Painted(const std::vector<Rect>& rects, pixman_region32_t* unshown);
    // Bytes copied between buffers since the last call.
    uint64_t TakeBytesCopied();

private:
    std::unique_ptr<ShmPool> NewPool(int width, int height, std::string& error);

    wl_shm* shm_;
    std::function<void()> released_;
    std::unique_ptr<ShmPool> pool_;
    ShmBuffer* latest_ = nullptr;  // holds the whole picture
    uint64_t copied_ = 0;
};

}  // namespace tessaly
