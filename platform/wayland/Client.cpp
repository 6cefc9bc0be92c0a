#include "Client.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/Printable.h"

namespace tessaly {

namespace {

// The versions bound: damage_buffer needs wl_compositor 4; layer shell 4
// knows on-demand keyboards and the layer shell's destroy; wl_seat 5 brings
// the pointer's frames and axis sources.
constexpr struct {
    uint32_t compositor = 4, layerShell = 4, wmBase = 2, xdgOutputManager = 3, screencopy = 3, seat = 5,
             viewporter = 1, fractionalScale = 1;
} kVersions;

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted,
        uint32_t* bound = nullptr) {
    const uint32_t version = std::min(offered, wanted);
    if (bound != nullptr) *bound = version;
    return static_cast<T*>(wl_registry_bind(registry, name, interface, version));
}

// Where wl_display_connect(NULL) looks, for the message when it fails.
std::string DisplayName() {
    if (const char* socket = std::getenv("WAYLAND_SOCKET"); socket != nullptr && *socket != '\0')
        return "socket " + Printable(socket) + " (WAYLAND_SOCKET)";
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return "'" + Printable(name != nullptr && *name != '\0' ? name : "wayland-0") + "'";
}

}  // namespace

const wl_registry_listener Client::kRegistryListener = {
    [](void* self, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
        static_cast<Client*>(self)->Global(registry, name, interface, version);
    },
    [](void* self, wl_registry*, uint32_t name) { static_cast<Client*>(self)->GlobalRemoved(name); },
};

// A client that does not answer pings is taken for hung.
const xdg_wm_base_listener Client::kWmBaseListener = {
    [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

Client::~Client() {
    if (display_ == nullptr) return;
    ReleaseSeat(false);  // the run has let go of its devices already
    outputs_.clear();
    if (globals_.screencopy != nullptr) zwlr_screencopy_manager_v1_destroy(globals_.screencopy);
    if (globals_.fractionalScale != nullptr) wp_fractional_scale_manager_v1_destroy(globals_.fractionalScale);
    if (globals_.viewporter != nullptr) wp_viewporter_destroy(globals_.viewporter);
    if (globals_.xdgOutputs != nullptr) zxdg_output_manager_v1_destroy(globals_.xdgOutputs);
    if (globals_.wmBase != nullptr) xdg_wm_base_destroy(globals_.wmBase);
    if (globals_.layerShell != nullptr) {
        if (globals_.layerShellVersion >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
            zwlr_layer_shell_v1_destroy(globals_.layerShell);
        else wl_proxy_destroy(reinterpret_cast<wl_proxy*>(globals_.layerShell));
    }
    if (globals_.shm != nullptr) wl_shm_destroy(globals_.shm);
    if (globals_.compositor != nullptr) wl_compositor_destroy(globals_.compositor);
    wl_registry_destroy(registry_);
    // Let the compositor hear that the surfaces are gone before the process ends.
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

bool Client::Connect(bool saver, std::string& error) {
    saver_ = saver;
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) {
        error = "cannot connect to the Wayland compositor " + DisplayName();
        return false;
    }
    globals_.display = display_;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    // The first round trip brings the globals, the second the outputs'
    // descriptions and their xdg-outputs.
    for (int i = 0; i < 2; ++i) {
        if (wl_display_roundtrip(display_) < 0) {
            error = ConnectionError();
            return false;
        }
    }
    for (const auto& output : outputs_) output->CheckReady();
    if (globals_.compositor == nullptr || globals_.shm == nullptr) {
        error = "the Wayland compositor offers no wl_compositor or no wl_shm to draw with";
        return false;
    }
    return true;
}

void Client::Global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    const auto is = [interface](const wl_interface& wanted) { return std::strcmp(interface, wanted.name) == 0; };
    if (is(wl_compositor_interface) && globals_.compositor == nullptr) {
        globals_.compositor = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version,
                                                  kVersions.compositor, &globals_.compositorVersion);
    } else if (is(wl_shm_interface) && globals_.shm == nullptr) {
        globals_.shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface) && globals_.layerShell == nullptr) {
        globals_.layerShell = Bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version,
                                                        kVersions.layerShell, &globals_.layerShellVersion);
    } else if (is(xdg_wm_base_interface) && saver_ && globals_.wmBase == nullptr) {
        globals_.wmBase = Bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, kVersions.wmBase);
        xdg_wm_base_add_listener(globals_.wmBase, &kWmBaseListener, this);
    } else if (is(zxdg_output_manager_v1_interface) && globals_.xdgOutputs == nullptr) {
        globals_.xdgOutputs = Bind<zxdg_output_manager_v1>(registry, name, &zxdg_output_manager_v1_interface,
                                                           version, kVersions.xdgOutputManager);
        for (const auto& output : outputs_) output->UseXdgOutput(globals_.xdgOutputs);
    } else if (is(zwlr_screencopy_manager_v1_interface) && saver_ && globals_.screencopy == nullptr) {
        globals_.screencopy = Bind<zwlr_screencopy_manager_v1>(registry, name, &zwlr_screencopy_manager_v1_interface,
                                                               version, kVersions.screencopy,
                                                               &globals_.screencopyVersion);
    } else if (is(wp_viewporter_interface) && globals_.viewporter == nullptr) {
        globals_.viewporter = Bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, kVersions.viewporter);
    } else if (is(wp_fractional_scale_manager_v1_interface) && globals_.fractionalScale == nullptr) {
        globals_.fractionalScale = Bind<wp_fractional_scale_manager_v1>(
            registry, name, &wp_fractional_scale_manager_v1_interface, version, kVersions.fractionalScale);
    } else if (is(wl_seat_interface) && saver_ && seat_ == nullptr) {
        seat_ = Bind<wl_seat>(registry, name, &wl_seat_interface, version, kVersions.seat, &seatVersion_);
        seatName_ = name;
        events_.SeatAdded(seat_);
    } else if (is(wl_output_interface)) {
        outputs_.push_back(std::make_unique<Output>(registry, name, version,
                                                    [this](Output& output) { events_.OutputDescribed(output); }));
        outputs_.back()->UseXdgOutput(globals_.xdgOutputs);
    }
}

void Client::GlobalRemoved(uint32_t name) {
    if (seat_ != nullptr && name == seatName_) {
        ReleaseSeat(true);
        return;
    }
    const auto it = std::find_if(outputs_.begin(), outputs_.end(),
                                 [name](const auto& output) { return output->GlobalName() == name; });
    if (it == outputs_.end()) return;
    std::unique_ptr<Output> output = std::move(*it);
    outputs_.erase(it);
    events_.OutputGone(*output);
}

void Client::ReleaseSeat(bool tell) {
    if (seat_ == nullptr) return;
    if (tell) events_.SeatGone(seat_);
    if (seatVersion_ >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(seat_);
    else wl_seat_destroy(seat_);
    seat_ = nullptr;
}

std::string Client::ConnectionError() const {
    const int code = wl_display_get_error(display_);
    if (code == EPROTO) {
        const wl_interface* interface = nullptr;
        uint32_t id = 0;
        const uint32_t error = wl_display_get_protocol_error(display_, &interface, &id);
        return "the Wayland compositor ended the connection: protocol error " + std::to_string(error) + " on " +
               (interface != nullptr ? interface->name : "an object");
    }
    return std::string("lost the connection to the Wayland compositor: ") + std::strerror(code != 0 ? code : EPIPE);
}

}  // namespace tessaly
