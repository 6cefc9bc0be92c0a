#include "OutputSurface.h"

#include <algorithm>
#include <cstdio>

#include "cairo/CairoDevice.h"
#include "cairo/DamageRecorder.h"
#include "shell/Printable.h"

namespace tessaly {

namespace {

// A frame asked for and not come in this long: nobody can see the surface.
constexpr int64_t kOutOfSightNs = kNsPerSecond;
// How late the timers that are no canvas tick may fire, so wake-ups coincide.
constexpr int64_t kSlackNs = 50 * kNsPerMs;
// A capture not answered in this long (its output off, say) is given up.
constexpr int64_t kCaptureTimeoutNs = kNsPerSecond;
// wl_surface.set_buffer_scale from version 3, damage_buffer from 4.
constexpr uint32_t kBufferScaleVersion = 3;
constexpr uint32_t kDamageBufferVersion = 4;

constexpr uint32_t kAllEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                               ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

// Surfaces of the saver and of the wallpaper, as the compositor may tell them apart.
constexpr char kNamespace[] = "tessaly";

void FullRegion(pixman_region32_t* region, int width, int height) {
    pixman_region32_fini(region);
    pixman_region32_init_rect(region, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
}

}  // namespace

const zwlr_layer_surface_v1_listener OutputSurface::kLayerListener = {
    [](void* self, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        static_cast<OutputSurface*>(self)->Configured(width, height);
    },
    [](void* self, zwlr_layer_surface_v1*) { static_cast<OutputSurface*>(self)->closed_ = true; },
};

const xdg_surface_listener OutputSurface::kXdgSurfaceListener = {
    [](void* self, xdg_surface* surface, uint32_t serial) {
        xdg_surface_ack_configure(surface, serial);
        auto* s = static_cast<OutputSurface*>(self);
        s->Configured(static_cast<uint32_t>(s->toplevelSize_.width), static_cast<uint32_t>(s->toplevelSize_.height));
    },
};

const xdg_toplevel_listener OutputSurface::kToplevelListener = {
    [](void* self, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
        static_cast<OutputSurface*>(self)->toplevelSize_ = Size{width, height};
    },
    [](void* self, xdg_toplevel*) { static_cast<OutputSurface*>(self)->closed_ = true; },
    [](void*, xdg_toplevel*, int32_t, int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

const wl_callback_listener OutputSurface::kFrameListener = {OutputSurface::FrameCame};

// The compositor has handled the transparent surface's map, and the
// pointer's enter that hid the cursor over it: what it captures now is the
// screen without the cursor and without us.
const wl_callback_listener OutputSurface::kSyncListener = {
    [](void* self, wl_callback*, uint32_t) { static_cast<OutputSurface*>(self)->Capture(); },
};

const wp_fractional_scale_v1_listener OutputSurface::kFractionalListener = {
    [](void* self, wp_fractional_scale_v1*, uint32_t scale) { static_cast<OutputSurface*>(self)->PreferredScale(scale); },
};

OutputSurface::OutputSurface(const Globals& globals, Output& output, SurfaceRole role, bool capture,
                             EventLoop& loop, const Warn& warn)
    : globals_(globals),
      output_(output),
      role_(role),
      capture_(capture),
      warn_(warn),
      surface_(wl_compositor_create_surface(globals.compositor)),
      picture_(globals.shm, [this] {
          // Not from inside the buffer's own event: a new size replaces its pool.
          if (waitingForBuffer_) bufferBack_.At(MonotonicNs());
      }) {
    pixman_region32_init(&unshown_);
    captured_.Attach(loop, kSlackNs, [this] { ShowFirst(); });
    tick_.Attach(loop, 1, [this] { Tick(); });  // the canvas's period, to the microsecond
    bufferBack_.Attach(loop, 1, [this] { Present(); });
    if (globals_.Fractional()) {
        viewport_ = wp_viewporter_get_viewport(globals_.viewporter, surface_);
        fractional_ = wp_fractional_scale_manager_v1_get_fractional_scale(globals_.fractionalScale, surface_);
        wp_fractional_scale_v1_add_listener(fractional_, &kFractionalListener, this);
    }
    if (role_ == SurfaceRole::FullScreenWindow) {
        xdgSurface_ = xdg_wm_base_get_xdg_surface(globals_.wmBase, surface_);
        xdg_surface_add_listener(xdgSurface_, &kXdgSurfaceListener, this);
        toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
        xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
        xdg_toplevel_set_title(toplevel_, "Tessaly");
        xdg_toplevel_set_app_id(toplevel_, kNamespace);
        xdg_toplevel_set_fullscreen(toplevel_, output_.Proxy());
    } else {
        const bool background = role_ == SurfaceRole::Background;
        layer_ = zwlr_layer_shell_v1_get_layer_surface(
            globals_.layerShell, surface_, output_.Proxy(),
            background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kNamespace);
        zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
        zwlr_layer_surface_v1_set_size(layer_, 0, 0);
        zwlr_layer_surface_v1_set_anchor(layer_, kAllEdges);
        // -1: not pushed aside by panels' exclusive zones, so it covers them too.
        zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
        // The keyboard comes later, to one surface of the run, once all are on.
        zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
        if (background) {  // no input: it all goes to what is above, or nowhere
            wl_region* none = wl_compositor_create_region(globals_.compositor);
            wl_surface_set_input_region(surface_, none);
            wl_region_destroy(none);
        }
    }
    wl_surface_commit(surface_);
}

OutputSurface::~OutputSurface() {
    if (frame_ != nullptr) wl_callback_destroy(frame_);
    if (sync_ != nullptr) wl_callback_destroy(sync_);
    capturing_.reset();
    if (fractional_ != nullptr) wp_fractional_scale_v1_destroy(fractional_);
    if (viewport_ != nullptr) wp_viewport_destroy(viewport_);
    if (layer_ != nullptr) zwlr_layer_surface_v1_destroy(layer_);
    if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
    if (xdgSurface_ != nullptr) xdg_surface_destroy(xdgSurface_);
    wl_surface_destroy(surface_);
    transparent_.reset();
    pixman_region32_fini(&unshown_);
}

bool OutputSurface::TakeShown() {
    const bool shown = shown_;
    shown_ = false;
    return shown;
}

// The first configure puts the surface on its output; a later one's size
// is taken up with the next frame.
void OutputSurface::Configured(uint32_t width, uint32_t height) {
    configured_ = Size{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (stage_ == Stage::Showing) return OutputChanged();
    if (stage_ != Stage::WaitingConfigure || !failure_.empty()) return;
    if (const Size size = Layout().buffer; !ImageSizeFits(size.width, size.height, failure_)) {
        failure_ = "cannot cover output " + Printable(output_.Name()) + ": " + failure_;  // the run drops it
        return;
    }
    if (capture_) MapTransparent();
    else ShowFirst();
}

// The new size is taken up with the next frame.
void OutputSurface::OutputChanged() {
    resized_ = true;
    if (frame_ != nullptr || stage_ != Stage::Showing) return;
    WatchFrame();
    wl_surface_commit(surface_);
}

void OutputSurface::HoldKeyboard(bool exclusive) {
    if (layer_ == nullptr || keyboard_ == exclusive) return;
    keyboard_ = exclusive;
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, exclusive ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                          : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(surface_);
}

// The compositor's preferred scale for the surface, from the output it is
// on. One said before the surface had a buffer is not taken: it cannot know
// the output yet (KWin says 1 then, and the real one after the first buffer).
void OutputSurface::PreferredScale(uint32_t scale120) {
    if (stage_ == Stage::WaitingConfigure || scale120 == preferred120_) return;
    preferred120_ = scale120;
    if (stage_ == Stage::Showing) OutputChanged();
}

// The size to draw at: the latest configure (or, where it leaves the size
// to us, the output's) in logical pixels, times the scale (see
// BufferLayout). Until the compositor names its preferred scale, the
// output's screen tells it. Worked out only when a frame is committed, from
// the latest of each, so a state passing between two events is never acted on.
BufferLayout OutputSurface::Layout() const {
    const int scale = globals_.compositorVersion >= kBufferScaleVersion ? output_.Scale() : 1;
    Size logical = configured_;
    if (logical.width <= 0 || logical.height <= 0) {
        logical = output_.LogicalSize();
        if (!output_.LogicalSizeKnown())
            logical = Size{output_.TurnedMode().width / scale, output_.TurnedMode().height / scale};
    }
    uint32_t fractional = 0;
    if (fractional_ != nullptr)
        fractional = preferred120_ != 0 ? preferred120_ : ScaleOfScreen(output_.TurnedMode(), output_.LogicalSize());
    return LayoutFor(logical, scale, fractional);
}

// How the buffers cover the surface from the next commit on.
void OutputSurface::TellLayout(const BufferLayout& layout) {
    if (layout.bufferScale != committed_.bufferScale && globals_.compositorVersion >= kBufferScaleVersion)
        wl_surface_set_buffer_scale(surface_, layout.bufferScale);
    if (viewport_ != nullptr && layout.viewport != committed_.viewport) {
        const bool set = layout.viewport.width > 0;  // -1, -1 takes the viewport off
        wp_viewport_set_destination(viewport_, set ? layout.viewport.width : -1, set ? layout.viewport.height : -1);
    }
    committed_ = layout;
}

// The first buffer: all transparent (a fresh pool's pages read as zeros, and
// are never written), so the compositor maps the surface, hides the pointer
// over it and takes the keyboard, while the output still shows what it showed.
void OutputSurface::MapTransparent() {
    const BufferLayout layout = Layout();
    const Size size = layout.buffer;
    transparent_ = ShmPool::Create(globals_.shm, size.width, size.height, size.width * 4, WL_SHM_FORMAT_ARGB8888, 1,
                                   {}, failure_);
    if (transparent_ == nullptr) return;
    TellLayout(layout);
    wl_surface_attach(surface_, transparent_->FreeBuffer()->buffer, 0, 0);
    wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(surface_);
    sync_ = wl_display_sync(globals_.display);
    wl_callback_add_listener(sync_, &kSyncListener, this);
    stage_ = Stage::WaitingPointer;
}

// The compositor has handled the transparent surface's map: the capture,
// given up if it is not answered in time (its output off, say).
void OutputSurface::Capture() {
    wl_callback_destroy(sync_);
    sync_ = nullptr;
    capturing_ = std::make_unique<OutputCapture>(globals_, output_.Proxy(), [this] { captured_.At(MonotonicNs()); });
    captured_.At(MonotonicNs() + kCaptureTimeoutNs);
    stage_ = Stage::Capturing;
}

void OutputSurface::ShowFirst() {
    captured_.Off();
    CairoSurface start = capturing_ != nullptr ? capturing_->Take(output_.Transform()) : nullptr;
    capturing_.reset();
    layout_ = Layout();
    const Size size = layout_.buffer;
    if (!picture_.Start(size.width, size.height, start.get(), failure_)) return;
    committed_.bufferScale = 0;  // the layout and the opaque region go with this commit
    committedMode_ = output_.Mode();
    committedTransform_ = output_.Transform();
    FullRegion(&unshown_, size.width, size.height);
    Commit(*picture_.Next());
    transparent_.reset();
    stage_ = Stage::Showing;
    shown_ = true;
}

void OutputSurface::SetOpaqueRegion() {
    const Size logical = layout_.Logical();
    wl_region* opaque = wl_compositor_create_region(globals_.compositor);
    wl_region_add(opaque, 0, 0, logical.width, logical.height);
    wl_surface_set_opaque_region(surface_, opaque);
    wl_region_destroy(opaque);
}

void OutputSurface::StartTicking(unsigned periodMs) {
    timer_.Start(periodMs);
    tick_.At(timer_.Deadline());
}

void OutputSurface::StopTicking() {
    timer_.Stop();
    tick_.Off();
}

// A tick of the canvas, which ticks only while it is seen: a frame asked
// for and not come for a second says that nobody sees it any more.
void OutputSurface::Tick() {
    const int64_t now = MonotonicNs();
    const bool due = timer_.Due(now);
    tick_.At(timer_.Deadline());
    if (!due || canvas_ == nullptr) return;
    if (frame_ != nullptr && now - frameAskedNs_ >= kOutOfSightNs) return canvas_->SetVisible(false);
    ++counts_.ticks;
    canvas_->OnTick();
}

// A paint goes out at once, unless the frame of the last one is still to
// come: then it waits for that frame, and the ticks meanwhile add to it.
void OutputSurface::RequestPaint() {
    paintPending_ = true;
    if (frame_ == nullptr && stage_ == Stage::Showing) Present();
}

void OutputSurface::RepaintNow() { RequestPaint(); }

// Every commit asks to hear when the compositor wants the next frame.
void OutputSurface::WatchFrame() {
    frame_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frame_, &kFrameListener, this);
    frameAskedNs_ = MonotonicNs();
}

// The compositor wants the next frame: seen again (if it was not), the
// canvas ticks on, the same garden; what waited for the frame goes out.
void OutputSurface::FrameCame(void* self, wl_callback* callback, uint32_t) {
    auto* s = static_cast<OutputSurface*>(self);
    wl_callback_destroy(callback);
    s->frame_ = nullptr;
    if (s->canvas_ != nullptr && !s->canvas_->Visible()) s->canvas_->SetVisible(true);
    if (s->paintPending_ || s->resized_) s->Present();
}

// A frame: the output's size as it is now, a buffer holding the picture,
// the paint that was asked for, and the commit of what changed.
void OutputSurface::Present() {
    if (resized_) ApplySize();
    ShmBuffer* buffer = picture_.Next();
    waitingForBuffer_ = buffer == nullptr;
    if (buffer == nullptr) return;  // the paint waits for a buffer to come back
    if (paintPending_) {
        paintPending_ = false;
        Paint(*buffer);
    }
    if (pixman_region32_not_empty(&unshown_) || committed_ != layout_) Commit(*buffer);
}

void OutputSurface::Paint(ShmBuffer& buffer) {
    if (canvas_ == nullptr) return;
    std::vector<Rect> damage;
    {
        CairoContext cr(cairo_create(buffer.image));
        CairoDevice device(cr.get());
        DamageRecorder recorder(device);
        canvas_->OnPaint(recorder);
        damage = recorder.Damage();
    }
    cairo_surface_flush(buffer.image);
    if (picture_.Painted(damage, &unshown_)) ++counts_.paints;
}

// The buffer goes on the output, and the compositor hears exactly what
// changed since the last commit.
void OutputSurface::Commit(ShmBuffer& buffer) {
    if (layout_ != committed_) {
        TellLayout(layout_);
        SetOpaqueRegion();  // the buffer covers another logical size
    }
    wl_surface_attach(surface_, buffer.buffer, 0, 0);
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&unshown_, &count);
    const pixman_box32_t* box = pixman_region32_extents(&unshown_);
    if (globals_.compositorVersion < kDamageBufferVersion) {
        wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
        counts_.pixelsShown += static_cast<uint64_t>(picture_.Width()) * static_cast<uint64_t>(picture_.Height());
    } else if (static_cast<std::size_t>(count) > kMaxDamageRects) {  // named as their bounding box
        wl_surface_damage_buffer(surface_, box->x1, box->y1, box->x2 - box->x1, box->y2 - box->y1);
        counts_.pixelsShown += static_cast<uint64_t>(box->x2 - box->x1) * static_cast<uint64_t>(box->y2 - box->y1);
    } else {
        for (int i = 0; i < count; ++i) {
            const pixman_box32_t& b = boxes[i];
            wl_surface_damage_buffer(surface_, b.x1, b.y1, b.x2 - b.x1, b.y2 - b.y1);
            counts_.pixelsShown += static_cast<uint64_t>(b.x2 - b.x1) * static_cast<uint64_t>(b.y2 - b.y1);
        }
    }
    pixman_region32_clear(&unshown_);
    buffer.busy = true;
    if (frame_ == nullptr) WatchFrame();
    wl_surface_commit(surface_);
    ++counts_.frames;
}

// The buffer size follows the output: a new size keeps the picture (scaled
// when only the scale changed, see Picture::Resize; a turned output is a
// new size, its screen's pixels turned with it), and the canvas maps its
// next drawing onto the new size. A size beyond the picture limit keeps the
// size it has.
void OutputSurface::ApplySize() {
    const BufferLayout layout = Layout();
    const Size size = layout.buffer;
    resized_ = false;
    if (size == Size{picture_.Width(), picture_.Height()}) {
        layout_ = layout;  // at most the logical size the buffer covers changed
        return;
    }
    // A layer surface covers its whole output: while its latest configure
    // and the output's logical size disagree, the other is still on its way.
    if (layer_ != nullptr && output_.LogicalSizeKnown() && configured_.width > 0 && configured_.height > 0 &&
        configured_ != output_.LogicalSize()) {
        resized_ = true;
        return;
    }
    const Size before{picture_.Width(), picture_.Height()};
    std::string error;
    const bool sameScreen = output_.Mode() == committedMode_ && output_.Transform() == committedTransform_;
    if (!picture_.Resize(size.width, size.height, sameScreen, error)) {
        if (!tooBigSaid_)
            warn_("output " + Printable(output_.Name()) + ": " + error + "; it keeps " + std::to_string(before.width) + "x" +
                  std::to_string(before.height));
        tooBigSaid_ = true;
        return;
    }
    layout_ = layout;
    committedMode_ = output_.Mode();
    committedTransform_ = output_.Transform();
    FullRegion(&unshown_, size.width, size.height);
    tooBigSaid_ = false;
    if (canvas_ != nullptr) canvas_->ClientAreaChanged();
}

SurfaceCounts OutputSurface::TakeCounts() {
    counts_.bytesCopied += picture_.TakeBytesCopied();
    const SurfaceCounts counts = counts_;
    counts_ = SurfaceCounts{};
    return counts;
}

}  // namespace tessaly
