#include "Seat.h"

#include <unistd.h>

namespace tessaly {

namespace {
// Devices may be released (rather than just destroyed) from seat version 3.
constexpr uint32_t kReleaseSinceVersion = 3;
}  // namespace

const wl_seat_listener Seat::kSeatListener = {
    [](void* self, wl_seat*, uint32_t capabilities) { static_cast<Seat*>(self)->Capabilities(capabilities); },
    [](void*, wl_seat*, const char*) {},
};

const wl_pointer_listener Seat::kPointerListener = {
    // enter: no cursor over our surfaces. The position it comes with is where
    // the surface appeared under the pointer, not the user moving it.
    [](void* self, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t, wl_fixed_t) {
        static_cast<Seat*>(self)->pointerFocus_ = surface;
        wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    },
    [](void* self, wl_pointer*, uint32_t, wl_surface*) { static_cast<Seat*>(self)->pointerFocus_ = nullptr; },
    [](void* self, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
        auto* seat = static_cast<Seat*>(self);
        seat->events_.Moved(seat->pointerFocus_, wl_fixed_to_double(x), wl_fixed_to_double(y));
    },
    [](void* self, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        auto* seat = static_cast<Seat*>(self);
        if (state == WL_POINTER_BUTTON_STATE_PRESSED) seat->events_.Pressed(seat->pointerFocus_);
    },
    [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},  // axis: the wheel
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, uint32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
    [](void*, wl_pointer*, uint32_t, int32_t) {},
};

const wl_keyboard_listener Seat::kKeyboardListener = {
    // Any key ends the saver: the keymap is never needed.
    [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    [](void* self, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
        static_cast<Seat*>(self)->keyboardFocus_ = surface;
    },
    [](void* self, wl_keyboard*, uint32_t, wl_surface*) { static_cast<Seat*>(self)->keyboardFocus_ = nullptr; },
    [](void* self, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        auto* seat = static_cast<Seat*>(self);
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) seat->events_.Pressed(seat->keyboardFocus_);
    },
    [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
    [](void*, wl_keyboard*, int32_t, int32_t) {},
};

const wl_touch_listener Seat::kTouchListener = {
    [](void* self, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, wl_fixed_t, wl_fixed_t) {
        static_cast<Seat*>(self)->events_.Pressed(surface);
    },
    [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
    [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*, int32_t, wl_fixed_t) {},
};

Seat::Seat(wl_seat* seat, InputEvents& events) : seat_(seat), events_(events) {
    wl_seat_add_listener(seat_, &kSeatListener, this);
}

Seat::~Seat() { ReleaseDevices(true, true, true); }

void Seat::Forget(wl_surface* surface) {
    if (pointerFocus_ == surface) pointerFocus_ = nullptr;
    if (keyboardFocus_ == surface) keyboardFocus_ = nullptr;
}

void Seat::Capabilities(uint32_t capabilities) {
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool touch = (capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0;
    ReleaseDevices(!pointer, !keyboard, !touch);
    if (pointer && pointer_ == nullptr) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &kPointerListener, this);
    }
    if (keyboard && keyboard_ == nullptr) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
        if (started_) events_.Pressed(nullptr);
    }
    if (touch && touch_ == nullptr) {
        touch_ = wl_seat_get_touch(seat_);
        wl_touch_add_listener(touch_, &kTouchListener, this);
    }
}

void Seat::ReleaseDevices(bool pointer, bool keyboard, bool touch) {
    const bool release = wl_seat_get_version(seat_) >= kReleaseSinceVersion;
    if (pointer && pointer_ != nullptr) {
        release ? wl_pointer_release(pointer_) : wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        pointerFocus_ = nullptr;
    }
    if (keyboard && keyboard_ != nullptr) {
        release ? wl_keyboard_release(keyboard_) : wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
        keyboardFocus_ = nullptr;
    }
    if (touch && touch_ != nullptr) {
        release ? wl_touch_release(touch_) : wl_touch_destroy(touch_);
        touch_ = nullptr;
    }
}

}  // namespace tessaly
