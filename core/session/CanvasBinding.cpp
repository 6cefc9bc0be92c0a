#include "session/CanvasBinding.h"

namespace tessaly {

void CanvasBinding::Bind(WindowHost& host) {
    host_ = &host;
    canvas_->AttachHost(&host);
    canvas_->OnCreate();
}

void CanvasBinding::Unbind() {
    if (host_ == nullptr) return;
    host_->StopTicking();
    host_ = nullptr;
    canvas_->AttachHost(nullptr);
    canvas_->OnWindowDestroyed();
}

}  // namespace tessaly
