// Real input on KWin, through its fake-input device (org_kde_kwin_fake_input:
// KWin feeds it through the same path as a physical device). Binds it, says
// "ready", then carries out one command a line from stdin until it ends:
//   key CODE | button CODE | move DX DY | touch X Y
// (evdev codes; a key, a button or a touch goes down and up). Each command
// is answered "done" once the compositor has it.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The requests used of KWin's fake-input interface (version 4), in its order.
const wl_message kRequests[] = {
    {"authenticate", "ss", nullptr},   {"pointer_motion", "ff", nullptr}, {"button", "uu", nullptr},
    {"axis", "uf", nullptr},           {"touch_down", "2uff", nullptr},   {"touch_motion", "2uff", nullptr},
    {"touch_up", "2u", nullptr},       {"touch_cancel", "2", nullptr},    {"touch_frame", "2", nullptr},
    {"pointer_motion_absolute", "3ff", nullptr}, {"keyboard_key", "4uu", nullptr},
};
const wl_interface kFakeInput = {"org_kde_kwin_fake_input", 4, 11, kRequests, 0, nullptr};
enum Request : uint32_t { kAuthenticate = 0, kMotion = 1, kButton = 2, kTouchDown = 4, kTouchUp = 6, kTouchFrame = 8, kKey = 10 };

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, kFakeInput.name) == 0 && version >= 4)
        *static_cast<void**>(data) = wl_registry_bind(registry, name, &kFakeInput, 4);
}
const wl_registry_listener kRegistryListener = {OnGlobal, [](void*, wl_registry*, uint32_t) {}};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    void* bound = nullptr;
    if (display != nullptr) wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &bound);
    if (display == nullptr || wl_display_roundtrip(display) < 0 || bound == nullptr)
        return std::fputs("kwin_input: no compositor with KWin's fake input (version 4)\n", stderr), 1;
    auto* input = static_cast<wl_proxy*>(bound);
    wl_proxy_marshal(input, kAuthenticate, "tessaly tests", "input for the end-to-end tests");
    wl_display_roundtrip(display);
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string what;
        double a = 0, b = 0;
        words >> what >> a >> b;
        const auto code = static_cast<uint32_t>(a);
        if (what == "key" || what == "button") {
            const uint32_t request = what == "key" ? kKey : kButton;
            wl_proxy_marshal(input, request, code, 1u);
            wl_proxy_marshal(input, request, code, 0u);
        } else if (what == "move") {
            wl_proxy_marshal(input, kMotion, wl_fixed_from_double(a), wl_fixed_from_double(b));
        } else if (what == "touch") {
            wl_proxy_marshal(input, kTouchDown, 0u, wl_fixed_from_double(a), wl_fixed_from_double(b));
            wl_proxy_marshal(input, kTouchFrame);
            wl_proxy_marshal(input, kTouchUp, 0u);
            wl_proxy_marshal(input, kTouchFrame);
        } else {
            std::cerr << "kwin_input: unknown command '" << line << "'" << std::endl;
            continue;
        }
        if (wl_display_roundtrip(display) < 0) return 1;
        std::cout << "done" << std::endl;
    }
}
