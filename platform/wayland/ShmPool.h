// Shared-memory buffers of one size for one surface, from one pool that
// lives as long as the surface keeps that size: created when first needed
// (at most `maxBuffers`), reused whenever the compositor releases them, so
// the pool's pages are touched once. Each buffer keeps the damage the
// picture took since that buffer last held all of it: bringing it up to
// date copies only that.
#pragma once

#include <cairo.h>
#include <pixman.h>
#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

struct ShmBuffer {
    ShmBuffer() { pixman_region32_init(&damage); }
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer = nullptr;
    uint8_t* data = nullptr;
    cairo_surface_t* image = nullptr;  // the same memory as a Cairo image (XRGB8888 pools)
    bool busy = false;  // attached, and not yet released by the compositor
    pixman_region32_t damage;
};

class ShmPool {
public:
    // A pool for width x height buffers of `format` (a wl_shm format) with
    // rows of `stride` bytes. `released` is called when a buffer comes back.
    // Null, with the reason, when the memory cannot be had.
    static std::unique_ptr<ShmPool> Create(wl_shm* shm, int width, int height, int stride, uint32_t format,
                                           int maxBuffers, std::function<void()> released, std::string& error);
    ~ShmPool();
    ShmPool(const ShmPool&) = delete;
    ShmPool& operator=(const ShmPool&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }

    // A buffer the compositor does not hold (`preferred` when it is free),
    // made now if there is room; null when every one is with the
    // compositor. A new buffer is damaged all over.
    ShmBuffer* FreeBuffer(const ShmBuffer* preferred = nullptr);
    // The picture changed here, in every buffer but `except`.
    void AddDamage(const pixman_region32_t* region, const ShmBuffer* except);

private:
    ShmPool(int width, int height, int stride, uint32_t format, int maxBuffers, std::function<void()> released)
        : width_(width), height_(height), stride_(stride), format_(format), maxBuffers_(maxBuffers),
          released_(std::move(released)) {}

    static const wl_buffer_listener kBufferListener;

    int width_, height_, stride_;
    uint32_t format_;
    int maxBuffers_;
    std::function<void()> released_;
    wl_shm_pool* pool_ = nullptr;
    uint8_t* memory_ = nullptr;
    std::size_t size_ = 0;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
};

}  // namespace tessaly
