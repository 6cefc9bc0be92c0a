// One output of the compositor as the saver needs it: its wl_output (scale,
// current mode, name from version 4) and, where the compositor offers
// xdg-output, its place and size in the layout and its name there. What the
// compositor says takes effect at its done event, all at once, so no state
// between two of its events (a new scale with the old size) is ever seen.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/Geometry.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace tessaly {

class Output {
public:
    // Binds global `name` of the registry. `described` is called after each
    // complete description (the first one makes it Ready, later ones are changes).
    Output(wl_registry* registry, uint32_t name, uint32_t version, std::function<void(Output&)> described);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Asks for the layout position, size and name too (the manager may come
    // after the output in the registry).
    void UseXdgOutput(zxdg_output_manager_v1* manager);

    uint32_t GlobalName() const { return globalName_; }
    wl_output* Proxy() const { return output_; }
    bool Ready() const { return ready_; }
    const std::string& Name() const { return current_.name; }
    // In the compositor's layout, in logical pixels; (0, 0) and the empty
    // size when the compositor offers no xdg-output.
    Point Position() const { return current_.position; }
    Size LogicalSize() const { return current_.logicalSize; }
    bool LogicalSizeKnown() const { return current_.logicalSize.width > 0 && current_.logicalSize.height > 0; }
    int Scale() const { return current_.scale; }
    // The current mode, in the output's own pixels.
    Size Mode() const { return current_.mode; }
    // How the compositor turns what it shows there (a wl_output_transform):
    // the mode is the screen's pixels before the turn, the logical size after it.
    int32_t Transform() const { return current_.transform; }
    // The mode as the surfaces on it are turned: its sides swapped at 90 and 270 degrees.
    Size TurnedMode() const;

    // Says it is ready when both descriptions are in; the client calls it
    // once more after its start-up round trips, for outputs of version 1.
    void CheckReady();

private:
    struct Description {
        std::string name;
        Point position{};
        Size logicalSize{};
        Size mode{};
        int scale = 1;
        int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
    };

    static const wl_output_listener kOutputListener;
    static const zxdg_output_v1_listener kXdgOutputListener;

    uint32_t globalName_;
    uint32_t version_;
    wl_output* output_;
    zxdg_output_v1* xdgOutput_ = nullptr;
    std::function<void(Output&)> described_;
    bool outputDone_ = false;
    bool ready_ = false;
    Description pending_;  // as the events come
    Description current_;  // as of the last done
};

}  // namespace tessaly
