#include "session/SaverSession.h"

#include <algorithm>

namespace tessaly {

SaverSession::SaverSession(GardenState& state, GdiObjects& objects, std::function<void()> ended)
    : state_(state), objects_(objects), ended_(std::move(ended)) {}

SaverSession::~SaverSession() { TearDown(); }

FullScreenWindow& SaverSession::AddSaverCanvas(WindowHost& host) {
    return static_cast<FullScreenWindow&>(Add(std::make_unique<FullScreenWindow>(state_, objects_, *this), host));
}

CanvasWindow& SaverSession::AddCanvas(WindowHost& host) {
    return Add(std::make_unique<CanvasWindow>(state_, objects_), host);
}

CanvasWindow& SaverSession::Add(std::unique_ptr<CanvasWindow> canvas, WindowHost& host) {
    canvases_.push_back(std::make_unique<CanvasBinding>(std::move(canvas)));
    canvases_.back()->Bind(host);
    return canvases_.back()->Canvas();
}

void SaverSession::Remove(WindowHost& host) {
    const auto it = std::find_if(canvases_.begin(), canvases_.end(),
                                 [&host](const auto& binding) { return binding->Host() == &host; });
    if (it == canvases_.end()) return;
    // Out of the list first: unbinding may make the port's window go, and
    // that may come back here.
    std::unique_ptr<CanvasBinding> binding = std::move(*it);
    canvases_.erase(it);
    binding->Unbind();
}

CanvasWindow* SaverSession::CanvasOf(const WindowHost& host) const {
    for (const auto& binding : canvases_)
        if (binding->Host() == &host) return &binding->Canvas();
    return nullptr;
}

void SaverSession::Signalled(int signal) {
    if (!Running() || signal == 0) return;
    signal_ = signal;
    End();
}

void SaverSession::End() {
    if (!Running()) return;
    running_ = false;
    if (ended_) ended_();
}

void SaverSession::TearDown() {
    while (!canvases_.empty()) {
        std::unique_ptr<CanvasBinding> binding = std::move(canvases_.front());
        canvases_.erase(canvases_.begin());
        binding->Unbind();
    }
}

}  // namespace tessaly
