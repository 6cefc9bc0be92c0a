// The seat's pointer, keyboard and touch, as the saver hears them: the
// pointer hidden over every surface of ours, and only what can mean that
// the user is back passed on: a key, a button (the wheel is an axis, not a
// button, on Wayland), a touch, a pointer motion.
//
// A keyboard that appears on a seat that had none while the saver runs
// (one plugged in or switched to, a wireless one woken by a key, a virtual
// one) counts as a key: its first key went down before any client could
// hear it, and reaches none. On a seat that has a keyboard, keys of every
// keyboard come through that one.
#pragma once

#include <wayland-client.h>

namespace tessaly {

class InputEvents {
public:
    virtual ~InputEvents() = default;
    // A key, a button or a touch went down over `surface` (null when the
    // compositor did not say which).
    virtual void Pressed(wl_surface* surface) = 0;
    // The pointer moved to (x, y), in `surface`'s logical coordinates.
    virtual void Moved(wl_surface* surface, double x, double y) = 0;
};

class Seat {
public:
    Seat(wl_seat* seat, InputEvents& events);
    ~Seat();
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    wl_seat* Proxy() const { return seat_; }
    // The run is on: a keyboard that appears from now on is the user's.
    void Started() { started_ = true; }
    // A surface is going: events still on their way for it go nowhere.
    void Forget(wl_surface* surface);

private:
    void Capabilities(uint32_t capabilities);
    void ReleaseDevices(bool pointer, bool keyboard, bool touch);

    static const wl_seat_listener kSeatListener;
    static const wl_pointer_listener kPointerListener;
    static const wl_keyboard_listener kKeyboardListener;
    static const wl_touch_listener kTouchListener;

    wl_seat* seat_;
    InputEvents& events_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    wl_touch* touch_ = nullptr;
    wl_surface* pointerFocus_ = nullptr;
    wl_surface* keyboardFocus_ = nullptr;
    bool started_ = false;
};

}  // namespace tessaly
