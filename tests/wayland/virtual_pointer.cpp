// Gives a headless compositor's seat a pointer: a seat without input devices
// has none, so no client would hear of `swaymsg seat - cursor` moves and
// presses. Creates one virtual pointer, says "ready", and keeps it until killed.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

// The one request used of the wlroots virtual-pointer protocol: the
// manager's first, create_virtual_pointer(seat, new id).
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};

struct Globals {
    void* seat = nullptr;
    void* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    for (auto [wanted, slot] : {std::pair{&wl_seat_interface, &globals->seat}, std::pair{&kManager, &globals->manager}})
        if (std::strcmp(interface, wanted->name) == 0) *slot = wl_registry_bind(registry, name, wanted, 1);
}
const wl_registry_listener kRegistryListener = {OnGlobal, [](void*, wl_registry*, uint32_t) {}};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    Globals globals;
    if (display != nullptr) wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
    if (display == nullptr || wl_display_roundtrip(display) < 0 || !globals.seat || !globals.manager)
        return std::fputs("virtual_pointer: no compositor with virtual pointers\n", stderr), 1;
    wl_proxy_marshal_constructor(static_cast<wl_proxy*>(globals.manager), 0, &kVirtualPointer, globals.seat, nullptr);
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
}
