#include "ShmPool.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace tessaly {

namespace {
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};
}  // namespace

const wl_buffer_listener ShmPool::kBufferListener = {
    [](void* data, wl_buffer* buffer) {
        auto* pool = static_cast<ShmPool*>(data);
        for (const auto& b : pool->buffers_)
            if (b->buffer == buffer) b->busy = false;
        if (pool->released_) pool->released_();
    },
};

ShmBuffer::~ShmBuffer() {
    if (image != nullptr) cairo_surface_destroy(image);
    if (buffer != nullptr) wl_buffer_destroy(buffer);
    pixman_region32_fini(&damage);
}

std::unique_ptr<ShmPool> ShmPool::Create(wl_shm* shm, int width, int height, int stride, uint32_t format,
                                         int maxBuffers, std::function<void()> released, std::string& error) {
    const std::size_t one = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    const std::size_t size = one * static_cast<std::size_t>(maxBuffers);
    if (width <= 0 || height <= 0 || stride < width * 4 || size > INT_MAX) {
        error = "no shared-memory pool for buffers of " + std::to_string(width) + "x" + std::to_string(height);
        return nullptr;
    }
    // Pages are given out as they are first written: buffers not yet made cost nothing.
    const Fd file{memfd_create("tessaly-buffers", MFD_CLOEXEC)};
    if (file.fd < 0 || ftruncate(file.fd, static_cast<off_t>(size)) != 0) {
        error = std::string("cannot make shared memory for the picture: ") + std::strerror(errno);
        return nullptr;
    }
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file.fd, 0);
    if (memory == MAP_FAILED) {
        error = std::string("cannot map shared memory for the picture: ") + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<ShmPool> pool(new ShmPool(width, height, stride, format, maxBuffers, std::move(released)));
    pool->memory_ = static_cast<uint8_t*>(memory);
    pool->size_ = size;
    pool->pool_ = wl_shm_create_pool(shm, file.fd, static_cast<int32_t>(size));
    return pool;
}

ShmPool::~ShmPool() {
    // Destroying a buffer the compositor still shows is allowed: it keeps what it has.
    buffers_.clear();
    if (pool_ != nullptr) wl_shm_pool_destroy(pool_);
    if (memory_ != nullptr) munmap(memory_, size_);
}

ShmBuffer* ShmPool::FreeBuffer(const ShmBuffer* preferred) {
    if (preferred != nullptr && !preferred->busy) return const_cast<ShmBuffer*>(preferred);
    for (const auto& b : buffers_)
        if (!b->busy) return b.get();
    if (static_cast<int>(buffers_.size()) >= maxBuffers_) return nullptr;
    const std::size_t offset = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_) * buffers_.size();
    auto b = std::make_unique<ShmBuffer>();
    b->data = memory_ + offset;
    b->buffer = wl_shm_pool_create_buffer(pool_, static_cast<int32_t>(offset), width_, height_, stride_, format_);
    wl_buffer_add_listener(b->buffer, &kBufferListener, this);
    pixman_region32_union_rect(&b->damage, &b->damage, 0, 0, static_cast<unsigned>(width_),
                               static_cast<unsigned>(height_));
    // Cairo's RGB24 is XRGB8888 byte for byte: the buffer is drawn in directly.
    if (format_ == WL_SHM_FORMAT_XRGB8888)
        b->image = cairo_image_surface_create_for_data(b->data, CAIRO_FORMAT_RGB24, width_, height_, stride_);
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

void ShmPool::AddDamage(const pixman_region32_t* region, const ShmBuffer* except) {
    for (const auto& b : buffers_)
        if (b.get() != except) pixman_region32_union(&b->damage, &b->damage, const_cast<pixman_region32_t*>(region));
}

}  // namespace tessaly
