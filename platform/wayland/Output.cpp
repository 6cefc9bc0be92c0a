#include "Output.h"

#include <algorithm>

namespace tessaly {

namespace {
// Version 2 brings done and scale, 4 the name.
constexpr uint32_t kOutputVersion = 4;
// Version 3 leaves the done event to wl_output.
constexpr uint32_t kXdgOutputVersion = 3;
}  // namespace

const wl_output_listener Output::kOutputListener = {
    [](void* self, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
       int32_t transform) { static_cast<Output*>(self)->pending_.transform = transform; },
    [](void* self, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
        if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) static_cast<Output*>(self)->pending_.mode = Size{width, height};
    },
    [](void* self, wl_output*) {
        auto* output = static_cast<Output*>(self);
        output->outputDone_ = true;
        output->CheckReady();
    },
    [](void* self, wl_output*, int32_t factor) { static_cast<Output*>(self)->pending_.scale = std::max(factor, 1); },
    [](void* self, wl_output*, const char* name) { static_cast<Output*>(self)->pending_.name = name; },
    [](void*, wl_output*, const char*) {},
};

const zxdg_output_v1_listener Output::kXdgOutputListener = {
    [](void* self, zxdg_output_v1*, int32_t x, int32_t y) { static_cast<Output*>(self)->pending_.position = Point{x, y}; },
    [](void* self, zxdg_output_v1*, int32_t width, int32_t height) {
        static_cast<Output*>(self)->pending_.logicalSize = Size{width, height};
    },
    // Before version 3 the xdg-output's own description ends here.
    [](void* self, zxdg_output_v1*) { static_cast<Output*>(self)->CheckReady(); },
    [](void* self, zxdg_output_v1*, const char* name) {
        auto* output = static_cast<Output*>(self);
        if (output->pending_.name.empty()) output->pending_.name = name;
    },
    [](void*, zxdg_output_v1*, const char*) {},
};

Output::Output(wl_registry* registry, uint32_t name, uint32_t version, std::function<void(Output&)> described)
    : globalName_(name),
      version_(std::min(version, kOutputVersion)),
      output_(static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, version_))),
      described_(std::move(described)) {
    wl_output_add_listener(output_, &kOutputListener, this);
    // Version 1 has no done event: what came with the bind is all there is.
    if (version_ < WL_OUTPUT_DONE_SINCE_VERSION) outputDone_ = true;
}

Output::~Output() {
    if (xdgOutput_ != nullptr) zxdg_output_v1_destroy(xdgOutput_);
    if (version_ >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output_);
    else wl_output_destroy(output_);
}

void Output::UseXdgOutput(zxdg_output_manager_v1* manager) {
    if (manager == nullptr || xdgOutput_ != nullptr) return;
    xdgOutput_ = zxdg_output_manager_v1_get_xdg_output(manager, output_);
    zxdg_output_v1_add_listener(xdgOutput_, &kXdgOutputListener, this);
}

Size Output::TurnedMode() const {
    const Size mode = current_.mode;
    return (current_.transform & WL_OUTPUT_TRANSFORM_90) != 0 ? Size{mode.height, mode.width} : mode;
}

// Ready once both descriptions are in: the output's own, and its place in
// the layout where the compositor gives one.
void Output::CheckReady() {
    current_ = pending_;
    if (!outputDone_ || (xdgOutput_ != nullptr && !LogicalSizeKnown())) return;
    ready_ = true;
    if (described_) described_(*this);
}

}  // namespace tessaly
