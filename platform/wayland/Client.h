// The connection to the compositor: the display, the globals the saver and
// the wallpaper use, and the outputs as they come and go. What happens to
// outputs and seats is told to the run through ClientEvents.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fractional-scale-v1-client-protocol.h"
#include "Output.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace tessaly {

struct Globals {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    uint32_t compositorVersion = 0;
    wl_shm* shm = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    uint32_t layerShellVersion = 0;
    xdg_wm_base* wmBase = nullptr;
    zxdg_output_manager_v1* xdgOutputs = nullptr;
    zwlr_screencopy_manager_v1* screencopy = nullptr;
    uint32_t screencopyVersion = 0;
    // Both, or the buffer follows the output's integer scale.
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
    bool Fractional() const { return viewporter != nullptr && fractionalScale != nullptr; }
};

class ClientEvents {
public:
    virtual ~ClientEvents() = default;
    // The output's description is complete: the first time it is ready,
    // later a change (scale, mode, place).
    virtual void OutputDescribed(Output& output) = 0;
    // The output is going; it is destroyed after this returns.
    virtual void OutputGone(Output& output) = 0;
    // A seat to take input from; it stays until SeatGone.
    virtual void SeatAdded(wl_seat* seat) = 0;
    virtual void SeatGone(wl_seat* seat) = 0;
};

class Client {
public:
    explicit Client(ClientEvents& events) : events_(events) {}
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Connects (WAYLAND_SOCKET, else WAYLAND_DISPLAY, else wayland-0), binds
    // the globals and waits for the outputs' first descriptions. Only the
    // saver binds the seat, xdg-shell and screen capture: the wallpaper
    // runs where none of them is offered. False with the reason when there
    // is no compositor, or one without shared memory.
    bool Connect(bool saver, std::string& error);

    wl_display* Display() const { return display_; }
    const Globals& Get() const { return globals_; }
    const std::vector<std::unique_ptr<Output>>& Outputs() const { return outputs_; }

    // The reason the connection broke, in one line.
    std::string ConnectionError() const;

private:
    void Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void GlobalRemoved(uint32_t name);

    void ReleaseSeat(bool tell);

    static const wl_registry_listener kRegistryListener;
    static const xdg_wm_base_listener kWmBaseListener;

    ClientEvents& events_;
    bool saver_ = false;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    Globals globals_;
    std::vector<std::unique_ptr<Output>> outputs_;
    wl_seat* seat_ = nullptr;  // the first seat; the saver takes input from one
    uint32_t seatName_ = 0;
    uint32_t seatVersion_ = 0;
};

}  // namespace tessaly
