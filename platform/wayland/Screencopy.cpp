#include "Screencopy.h"

#include <cstring>
#include <string>

namespace tessaly {

namespace {

// The 32-bit formats we read, and whether red and blue trade places on the
// way into Cairo's layout (XRGB8888 in memory order).
struct ReadableFormat {
    uint32_t format;
    bool swapRedBlue;
};
constexpr ReadableFormat kReadableFormats[] = {
    {WL_SHM_FORMAT_XRGB8888, false},
    {WL_SHM_FORMAT_ARGB8888, false},
    {WL_SHM_FORMAT_XBGR8888, true},
    {WL_SHM_FORMAT_ABGR8888, true},
};

const ReadableFormat* Readable(uint32_t format) {
    for (const ReadableFormat& f : kReadableFormats)
        if (f.format == format) return &f;
    return nullptr;
}

// The compositor shows a surface turned by the output's transform (a flip
// about the vertical axis first, then a turn counter-clockwise); the screen
// it scans out is that. This is the way back: a point of a w x h screen to
// the surface's point, for each quarter turn.
struct Turn {
    double xx, yx, xy, yy;  // Cairo's matrix, less the offset
    bool offsetX, offsetY;  // the offset is the screen's height or width
};
constexpr Turn kTurnsBack[] = {
    {1, 0, 0, 1, false, false},  // normal
    {0, 1, -1, 0, true, false},  // 90
    {-1, 0, 0, -1, true, true},  // 180
    {0, -1, 1, 0, false, true},  // 270
};

// `screen` turned back to the way the surfaces on it are seen.
CairoSurface TurnedBack(cairo_surface_t* screen, int32_t transform) {
    const int w = cairo_image_surface_get_width(screen), h = cairo_image_surface_get_height(screen);
    const bool quarter = (transform & WL_OUTPUT_TRANSFORM_90) != 0;
    const int width = quarter ? h : w, height = quarter ? w : h;
    const Turn& t = kTurnsBack[transform & 3];
    cairo_matrix_t back;
    cairo_matrix_init(&back, t.xx, t.yx, t.xy, t.yy, t.offsetX ? width : 0, t.offsetY ? height : 0);
    if ((transform & WL_OUTPUT_TRANSFORM_FLIPPED) != 0) {
        cairo_matrix_t flip;
        cairo_matrix_init(&flip, -1, 0, 0, 1, width, 0);
        cairo_matrix_multiply(&back, &back, &flip);
    }
    CairoSurface turned(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(turned.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    CairoContext cr(cairo_create(turned.get()));
    cairo_set_matrix(cr.get(), &back);
    cairo_set_source_surface(cr.get(), screen, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_NEAREST);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
    cairo_surface_flush(turned.get());
    return turned;
}

}  // namespace

const zwlr_screencopy_frame_v1_listener OutputCapture::kFrameListener = {
    [](void* self, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
        static_cast<OutputCapture*>(self)->Offered(format, width, height, stride);
    },
    [](void* self, zwlr_screencopy_frame_v1*, uint32_t flags) {
        static_cast<OutputCapture*>(self)->yInvert_ = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
    },
    [](void* self, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
        static_cast<OutputCapture*>(self)->Finish(true);
    },
    [](void* self, zwlr_screencopy_frame_v1*) { static_cast<OutputCapture*>(self)->Finish(false); },
    [](void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {},
    [](void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {},
    // From version 3 every buffer type has been named now.
    [](void* self, zwlr_screencopy_frame_v1*) { static_cast<OutputCapture*>(self)->Copy(); },
};

OutputCapture::OutputCapture(const Globals& globals, wl_output* output, std::function<void()> answered)
    : shm_(globals.shm),
      version_(globals.screencopyVersion),
      answered_(std::move(answered)),
      frame_(zwlr_screencopy_manager_v1_capture_output(globals.screencopy, 0, output)) {
    zwlr_screencopy_frame_v1_add_listener(frame_, &kFrameListener, this);
}

OutputCapture::~OutputCapture() {
    if (frame_ != nullptr) zwlr_screencopy_frame_v1_destroy(frame_);
}

void OutputCapture::Offered(uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
    if (offered_ || Readable(format) == nullptr) return;
    std::string error;
    if (!ImageSizeFits(width, height, error)) return;
    offered_ = true;
    format_ = format;
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    stride_ = static_cast<int>(stride);
    // Before version 3 the one buffer event is all there is.
    if (version_ < ZWLR_SCREENCOPY_FRAME_V1_BUFFER_DONE_SINCE_VERSION) Copy();
}

void OutputCapture::Copy() {
    if (copying_ || done_) return;
    std::string error;
    if (offered_) pool_ = ShmPool::Create(shm_, width_, height_, stride_, format_, 1, {}, error);
    if (pool_ != nullptr) buffer_ = pool_->FreeBuffer();
    if (buffer_ == nullptr) {
        Finish(false);
        return;
    }
    copying_ = true;
    zwlr_screencopy_frame_v1_copy(frame_, buffer_->buffer);
}

void OutputCapture::Finish(bool ready) {
    done_ = true;
    ready_ = ready && copying_;
    zwlr_screencopy_frame_v1_destroy(frame_);
    frame_ = nullptr;
    answered_();
}

CairoSurface OutputCapture::Take(int32_t transform) {
    if (!ready_) return nullptr;
    ready_ = false;
    CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_));
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(image.get());
    uint8_t* target = cairo_image_surface_get_data(image.get());
    const int targetStride = cairo_image_surface_get_stride(image.get());
    const bool swap = Readable(format_)->swapRedBlue;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* from = buffer_->data + static_cast<std::size_t>(yInvert_ ? height_ - 1 - y : y) * stride_;
        auto* to = reinterpret_cast<uint32_t*>(target + static_cast<std::size_t>(y) * targetStride);
        std::memcpy(to, from, static_cast<std::size_t>(width_) * 4);
        if (swap)
            for (int x = 0; x < width_; ++x)
                to[x] = (to[x] & 0xFF00FF00u) | ((to[x] & 0xFFu) << 16) | ((to[x] >> 16) & 0xFFu);
    }
    cairo_surface_mark_dirty(image.get());
    pool_.reset();
    buffer_ = nullptr;
    if (transform != WL_OUTPUT_TRANSFORM_NORMAL) return TurnedBack(image.get(), transform);
    return image;
}

}  // namespace tessaly
