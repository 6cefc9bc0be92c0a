// One canvas bound to one window, in the one order every host follows: when
// the window exists the canvas is attached to it and created (its timer
// starts); when the window goes the ticks stop, the canvas is detached and it
// lets go of its figures and its scene. The binding owns the canvas.
#pragma once

#include <memory>

#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"

namespace tessaly {

class CanvasBinding {
public:
    explicit CanvasBinding(std::unique_ptr<CanvasWindow> canvas) : canvas_(std::move(canvas)) {}
    ~CanvasBinding() { Unbind(); }
    CanvasBinding(const CanvasBinding&) = delete;
    CanvasBinding& operator=(const CanvasBinding&) = delete;

    // The window exists: attach, then create. Once per window.
    void Bind(WindowHost& host);
    // The window is going or gone: stop ticking, detach, then destroy. Does
    // nothing when not bound, so every way out may call it.
    void Unbind();

    WindowHost* Host() const { return host_; }
    CanvasWindow& Canvas() const { return *canvas_; }

private:
    std::unique_ptr<CanvasWindow> canvas_;
    WindowHost* host_ = nullptr;
};

}  // namespace tessaly
