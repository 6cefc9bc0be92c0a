#include "GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace tessaly {

namespace {

// floor(num / den) for den > 0.
int64_t FloorDiv(int64_t num, int64_t den) {
    const int64_t q = num / den;
    return (num % den != 0 && num < 0) ? q - 1 : q;
}

// num / den rounded to the nearest integer, an exact half going down (den > 0).
int64_t RoundHalfDown(int64_t num, int64_t den) {
    // ceil((2 num - den) / (2 den)) = -floor((den - 2 num) / (2 den))
    return -FloorDiv(den - 2 * num, 2 * den);
}

// Nearest integer, an exact half going up.
int32_t RoundHalfUp(double v) { return static_cast<int32_t>(std::floor(v + 0.5)); }

}  // namespace

int32_t AxisMapping::ToDevice(int32_t logical) const {
    // floor(v + 1/2) with v = n / d, written as floor((2n + d) / 2d) with d > 0.
    int64_t n = static_cast<int64_t>(logical - windowOrg) * viewportExt;
    int64_t d = windowExt;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return static_cast<int32_t>(FloorDiv(2 * n + d, 2 * d) + viewportOrg);
}

void AppendLinePixels(Point a, Point b, std::vector<PixelRun>& runs) {
    const int64_t dx = static_cast<int64_t>(b.x) - a.x;
    const int64_t dy = static_cast<int64_t>(b.y) - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0) return;  // the only pixel is the end point, which is left out
    const int64_t majorSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t minorDelta = xMajor ? dy : dx;
    const int32_t major0 = xMajor ? a.x : a.y;
    const int32_t minor0 = xMajor ? a.y : a.x;

    // Walk the steps, growing a run while the minor coordinate stays put.
    int64_t runStart = 0;
    int64_t runMinor = minor0;
    auto flush = [&](int64_t endStep) {  // steps runStart .. endStep-1
        const int64_t count = endStep - runStart;
        const int64_t first = majorSign > 0 ? major0 + runStart : major0 - (endStep - 1);
        if (xMajor) {
            runs.push_back({static_cast<int32_t>(first), static_cast<int32_t>(runMinor),
                            static_cast<int32_t>(count), 1});
        } else {
            runs.push_back({static_cast<int32_t>(runMinor), static_cast<int32_t>(first), 1,
                            static_cast<int32_t>(count)});
        }
    };
    for (int64_t i = 1; i < steps; ++i) {
        const int64_t minor = minor0 + RoundHalfDown(i * minorDelta, steps);
        if (minor != runMinor) {
            flush(i);
            runStart = i;
            runMinor = minor;
        }
    }
    flush(steps);
}

void AppendEllipsePixels(Rect box, std::vector<PixelRun>& outline, std::vector<PixelRun>& interior) {
    if (box.left > box.right) std::swap(box.left, box.right);
    if (box.top > box.bottom) std::swap(box.top, box.bottom);
    if (box.right == box.left || box.bottom == box.top) return;

    // The ideal ellipse through the pixel centres of the inclusive box.
    const int32_t lastX = box.right - 1;
    const int32_t lastY = box.bottom - 1;
    const double cx = (box.left + lastX) / 2.0;
    const double cy = (box.top + lastY) / 2.0;
    const double rx = (lastX - box.left) / 2.0;
    const double ry = (lastY - box.top) / 2.0;
    auto halfSpan = [](double radius, double otherRadius, double offset) {
        if (otherRadius == 0.0) return radius;
        const double t = offset / otherRadius;
        return t >= 1.0 ? 0.0 : radius * std::sqrt(1.0 - t * t);
    };

    // Nearest pixels, sampled once per column and once per row so that the
    // outline stays connected where it is steep as well as where it is flat.
    // Only the top-left half of each pair is rounded; its mirror keeps the
    // outline symmetric.
    std::vector<std::pair<int32_t, int32_t>> pixels;  // (y, x)
    for (int32_t x = box.left; x <= lastX; ++x) {
        const int32_t top = RoundHalfUp(cy - halfSpan(ry, rx, x - cx));
        pixels.push_back({top, x});
        pixels.push_back({box.top + lastY - top, x});
    }
    for (int32_t y = box.top; y <= lastY; ++y) {
        const int32_t left = RoundHalfUp(cx - halfSpan(rx, ry, y - cy));
        pixels.push_back({y, left});
        pixels.push_back({y, box.left + lastX - left});
    }
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (std::size_t i = 0; i < pixels.size();) {
        std::size_t j = i + 1;
        while (j < pixels.size() && pixels[j].first == pixels[i].first &&
               pixels[j].second == pixels[j - 1].second + 1) {
            ++j;
        }
        outline.push_back({pixels[i].second, pixels[i].first, static_cast<int32_t>(j - i), 1});
        i = j;
    }

    // Interior: per row, every pixel centre strictly inside the ideal ellipse.
    if (rx == 0.0 || ry == 0.0) return;
    for (int32_t y = box.top; y <= lastY; ++y) {
        const double dy = y - cy;
        if (std::fabs(dy) >= ry) continue;
        const double w = halfSpan(rx, ry, dy);
        const int32_t from = static_cast<int32_t>(std::floor(cx - w)) + 1;
        const int32_t to = static_cast<int32_t>(std::ceil(cx + w)) - 1;
        if (to >= from) interior.push_back({from, y, to - from + 1, 1});
    }
}

}  // namespace tessaly
