// One output's share of the Wayland run: the surface that covers it (an
// overlay-layer surface for the saver, a background-layer one for the
// wallpaper, a full-screen window where there is no layer shell), the
// picture every paint draws into, the buffers the output is shown, and the
// window host of the canvas that paints it.
//
// The compositor sets the pace: a paint the canvas asks for goes out at
// once, into a buffer that holds the picture (see Picture), naming only what
// it changed as damage, unless the compositor has not yet asked for the
// frame after the last one; then it waits for that. A surface whose frame
// does not come for a second is out of sight (its output off, a lock screen
// over it): its canvas stops ticking until the frame comes.
//
// The saver starts from what the output showed: the surface goes on the
// output transparent first (the pointer is hidden over it), the output is
// captured, and the capture is the first picture. Without screen capture,
// and for the wallpaper, the first picture is black.
//
// Everything happens from the compositor's events and the surface's own
// timers on the run's loop; the stage says what comes next.
#pragma once

#include <pixman.h>
#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BufferLayout.h"
#include "Client.h"
#include "linux/Clock.h"
#include "linux/EventLoop.h"
#include "Output.h"
#include "Picture.h"
#include "Screencopy.h"
#include "ShmPool.h"
#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "linux/Run.h"

namespace tessaly {

enum class SurfaceRole { Overlay, Background, FullScreenWindow };

// What one surface did in a second, for --stats.
struct SurfaceCounts {
    uint64_t ticks = 0;
    uint64_t paints = 0;
    uint64_t frames = 0;       // buffers committed
    uint64_t bytesCopied = 0;  // from the picture into buffers
    uint64_t pixelsShown = 0;  // damaged in the buffers committed: what the compositor takes up
};

class OutputSurface final : public WindowHost {
public:
    // `capture`: start from a capture of the output (screencopy offered).
    OutputSurface(const Globals& globals, Output& output, SurfaceRole role, bool capture, EventLoop& loop,
                  const Warn& warn);
    ~OutputSurface() override;
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    Output& GetOutput() const { return output_; }
    wl_surface* Surface() const { return surface_; }
    // Its first buffer is on the output (transparent or not).
    bool Mapped() const { return stage_ >= Stage::WaitingPointer; }
    // Its first picture was committed; true once, for the run to bind the canvas.
    bool TakeShown();
    // The canvas the run bound to it.
    void Bind(CanvasWindow& canvas) { canvas_ = &canvas; }
    // The compositor took the surface away: the run drops it.
    bool Closed() const { return closed_; }
    // It cannot be drawn (its picture would be too big): why, else empty.
    const std::string& Failure() const { return failure_; }

    // The saver's keyboard: held exclusively by one surface of the run.
    void HoldKeyboard(bool exclusive);
    bool HoldsKeyboard() const { return keyboard_; }
    // The output's scale, mode, transform or place changed (or the scale the
    // compositor prefers for the surface): looked at with the next frame.
    void OutputChanged();

    SurfaceCounts TakeCounts();

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override { return {picture_.Width(), picture_.Height()}; }

private:
    enum class Stage {
        WaitingConfigure,  // no size yet
        WaitingPointer,    // transparent on the output; the pointer's enter (and hiding) comes first
        Capturing,         // the output's picture is on its way
        Showing,           // the picture is on the output; the canvas paints it
    };

    void Configured(uint32_t width, uint32_t height);
    BufferLayout Layout() const;
    void PreferredScale(uint32_t scale120);
    void TellLayout(const BufferLayout& layout);
    void MapTransparent();
    void Capture();
    void ShowFirst();
    void Tick();
    void WatchFrame();
    static void FrameCame(void* self, wl_callback* callback, uint32_t time);
    void Present();
    void ApplySize();
    void Paint(ShmBuffer& buffer);
    void Commit(ShmBuffer& buffer);
    void SetOpaqueRegion();

    static const zwlr_layer_surface_v1_listener kLayerListener;
    static const xdg_surface_listener kXdgSurfaceListener;
    static const xdg_toplevel_listener kToplevelListener;
    static const wl_callback_listener kFrameListener;
    static const wl_callback_listener kSyncListener;
    static const wp_fractional_scale_v1_listener kFractionalListener;

    const Globals& globals_;
    Output& output_;
    SurfaceRole role_;
    bool capture_;
    const Warn& warn_;

    wl_surface* surface_;
    zwlr_layer_surface_v1* layer_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    Size configured_{};         // logical size of the latest configure
    Size toplevelSize_{};       // of the toplevel's configure, until its surface's
    // Both, where the compositor offers fractional scales.
    wp_viewport* viewport_ = nullptr;
    wp_fractional_scale_v1* fractional_ = nullptr;
    uint32_t preferred120_ = 0;  // the compositor's preferred scale for it; 0: not said yet

    Stage stage_ = Stage::WaitingConfigure;
    bool shown_ = false;
    bool closed_ = false;
    std::string failure_;
    bool keyboard_ = false;

    Picture picture_;
    std::unique_ptr<ShmPool> transparent_;
    std::unique_ptr<OutputCapture> capturing_;
    wl_callback* sync_ = nullptr;
    Timer captured_;  // the capture answered, or was given up
    BufferLayout committed_{};  // as the surface was last told; buffer scale 0: tell it all again
    Size committedMode_{};      // the output's screen the picture was made for
    int32_t committedTransform_ = WL_OUTPUT_TRANSFORM_NORMAL;
    bool tooBigSaid_ = false;
    pixman_region32_t unshown_;  // what changed since the last commit

    CanvasWindow* canvas_ = nullptr;
    TickTimer timer_;
    Timer tick_;
    bool paintPending_ = false;
    wl_callback* frame_ = nullptr;  // asked for, not yet come
    int64_t frameAskedNs_ = 0;
    bool resized_ = false;  // the output or the configure changed: the size is looked at with the next frame
    BufferLayout layout_;   // how the picture covers the surface
    bool waitingForBuffer_ = false;
    Timer bufferBack_;  // a buffer came back while a frame waited for one
    SurfaceCounts counts_;
};

}  // namespace tessaly
