// Plain value types shared by the whole core: the platform-free stand-ins for
// the Win32 POINT, RECT and COLORREF that the garden is described in.
#pragma once

#include <cstdint>

namespace tessaly {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const Size& a, const Size& b) { return a.width == b.width && a.height == b.height; }
    friend bool operator!=(const Size& a, const Size& b) { return !(a == b); }
};

// 0x00BBGGRR, red in the low byte, exactly as GDI stores a colour.
using ColourRef = uint32_t;

constexpr ColourRef Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr uint32_t RedOf(ColourRef c) { return c & 0xFF; }
constexpr uint32_t GreenOf(ColourRef c) { return (c >> 8) & 0xFF; }
constexpr uint32_t BlueOf(ColourRef c) { return (c >> 16) & 0xFF; }

// The logical canvas every scene draws on; the paint maps it onto the client area.
constexpr int32_t logicalWidth = 1400;  // read by the scenes as their x (and y) range
constexpr int32_t logicalHeight = 1000;

// The program's degrees-to-radians factor. It is not pi/180 from the twelfth
// digit on; every stored garden depends on this exact value.
constexpr double kDegreesToRadians = 0.017453292519444445;

}  // namespace tessaly
