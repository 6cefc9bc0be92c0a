// Gives a headless compositor's seat a pointer: a seat without input devices
// has none, so no client would hear of `swaymsg seat - cursor` moves and
// presses. Creates one virtual pointer, says "ready", and keeps it until killed.
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

// The one request used of the wlroots virtual-pointer protocol: the
// manager's first, create_virtual_pointer(seat, new id).
const wl_interface kVirtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kVirtualPointer};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, kManager.name) == 0)
        globals->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManager, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return std::fputs("virtual_pointer: no Wayland display\n", stderr), 1;
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.seat == nullptr || globals.manager == nullptr)
        return std::fputs("virtual_pointer: the compositor offers no virtual pointers\n", stderr), 1;
    wl_proxy_marshal_constructor(globals.manager, 0, &kVirtualPointer, globals.seat, nullptr);
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
