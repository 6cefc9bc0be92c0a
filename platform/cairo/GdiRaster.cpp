#include "GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

}  // namespace

int32_t AxisMapping::ToDevice(int32_t logical) const {
    // The same double operations in the same order as GDI (the build has no
    // FMA contraction), so ties break exactly as there.
    const double scale = static_cast<double>(viewportExt) / static_cast<double>(windowExt);
    const double storedScale = static_cast<float>(scale);
    const double storedOffset = static_cast<float>(static_cast<double>(viewportOrg) - scale * windowOrg);
    const double device = std::floor(static_cast<double>(logical) * storedScale + storedOffset + 0.5);
    if (!(device >= static_cast<double>(INT32_MIN))) return INT32_MIN;
    if (device > static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(device);
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

void AppendPolygonFillPixels(const Point* points, int count, std::vector<PixelRun>& runs, int32_t firstRow,
                             int32_t lastRow) {
    struct Edge {
        int64_t top, bottom;  // rows top .. bottom - 1
        int64_t x0, y0, dx, dy;
    };
    std::vector<Edge> edges;
    edges.reserve(count);
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        Point a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;  // a horizontal edge crosses no row
        if (a.y > b.y) std::swap(a, b);
        edges.push_back({a.y, b.y, a.x, a.y, static_cast<int64_t>(b.x) - a.x, static_cast<int64_t>(b.y) - a.y});
        top = std::min<int64_t>(top, a.y);
        bottom = std::max<int64_t>(bottom, b.y);
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.top < r.top; });

    top = std::max<int64_t>(top, firstRow);
    bottom = std::min<int64_t>(bottom, static_cast<int64_t>(lastRow) + 1);

    std::vector<const Edge*> active;
    std::vector<int64_t> crossings;
    std::size_t next = 0;
    for (int64_t y = top; y < bottom; ++y) {
        while (next < edges.size() && edges[next].top <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->bottom <= y; }),
                     active.end());
        crossings.clear();
        for (const Edge* e : active) {
            // The first pixel at or right of the edge: ceil(x0 + (y - y0) dx / dy), dy > 0.
            crossings.push_back(-FloorDiv(-(e->x0 * e->dy + (y - e->y0) * e->dx), e->dy));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            if (crossings[i + 1] > crossings[i]) {
                runs.push_back({static_cast<int32_t>(crossings[i]), static_cast<int32_t>(y),
                                static_cast<int32_t>(crossings[i + 1] - crossings[i]), 1});
            }
        }
    }
}

void AppendEllipsePixels(Rect box, int32_t cornerWidth, int32_t cornerHeight, std::vector<PixelRun>& outline,
                         std::vector<PixelRun>& interior) {
    if (box.left > box.right) std::swap(box.left, box.right);
    if (box.top > box.bottom) std::swap(box.top, box.bottom);
    const int64_t width = static_cast<int64_t>(box.right) - box.left;
    const int64_t height = static_cast<int64_t>(box.bottom) - box.top;
    if (width == 0 || height == 0) return;
    const int64_t ew = std::min<int64_t>(width, std::llabs(cornerWidth));
    const int64_t eh = std::min<int64_t>(height, std::llabs(cornerHeight));
    const int64_t right = box.right - 1;
    const int64_t bottom = box.bottom - 1;

    std::vector<std::pair<int64_t, int64_t>> pixels;  // (row, column)
    // Every pixel from p to q, which share a row or a column.
    auto span = [&pixels](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        for (int64_t y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int64_t x = std::min(x0, x1); x <= std::max(x0, x1); ++x) pixels.push_back({y, x});
    };

    if (ew <= 2 || eh <= 2) {
        // Too small for curved corners: GDI draws the box's rectangle, whose
        // one-pixel outline closes over the corner pixels (a 1 x 1 box shows nothing).
        if (width > 1 || height > 1) {
            span(box.left, box.top, right, box.top);
            span(right, box.top, right, bottom);
            span(box.left, bottom, right, bottom);
            span(box.left, box.top, box.left, bottom);
        }
    } else {
        // One corner of an ew x eh ellipse, stepped with an integer error term
        // from the middle of its right side to its middle column, each step to
        // the neighbour nearest the ideal curve. Mirrored into the four
        // corners of the box; where the box is larger than the ellipse the
        // corners are joined by straight lines.
        const int64_t a = ew - 1;
        const int64_t b = eh - 1;
        const int64_t aStep = 8 * a * a;
        const int64_t bStep = 8 * b * b;
        int64_t dx = 4 * b * b * (1 - a);      // error change of an x step
        int64_t dy = 4 * a * a * (1 + b % 2);  // error change of a y step
        int64_t err = dx + dy + a * a * (b % 2);
        int64_t x = a;
        int64_t y = eh / 2;
        const int64_t rightOrigin = box.right - ew;  // left column of the right-hand corners
        const int64_t bottomOrigin = box.bottom - eh;
        int64_t lastX = x, lastY = y;
        while (x >= ew / 2) {
            pixels.push_back({bottomOrigin + y, rightOrigin + x});
            pixels.push_back({bottomOrigin + y, box.left + a - x});
            pixels.push_back({box.top + b - y, rightOrigin + x});
            pixels.push_back({box.top + b - y, box.left + a - x});
            lastX = x;
            lastY = y;
            const int64_t e2 = 2 * err;
            if (e2 >= dx) {
                --x;
                err += dx += bStep;
            }
            if (e2 <= dy) {
                ++y;
                err += dy += aStep;
            }
        }
        // The joins: down the right and left sides, across the bottom and top.
        span(right, box.top + b - eh / 2, right, bottomOrigin + eh / 2);
        span(box.left, box.top + b - eh / 2, box.left, bottomOrigin + eh / 2);
        span(box.left + a - lastX, bottomOrigin + lastY, rightOrigin + lastX, bottomOrigin + lastY);
        span(box.left + a - lastX, box.top + b - lastY, rightOrigin + lastX, box.top + b - lastY);
    }

    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    for (std::size_t i = 0; i < pixels.size();) {
        // One row: its outline runs, and between its outermost pixels the interior.
        std::size_t rowEnd = i;
        while (rowEnd < pixels.size() && pixels[rowEnd].first == pixels[i].first) ++rowEnd;
        const int32_t row = static_cast<int32_t>(pixels[i].first);
        const int32_t first = static_cast<int32_t>(pixels[i].second);
        const int32_t last = static_cast<int32_t>(pixels[rowEnd - 1].second);
        if (last - first > 1) interior.push_back({first + 1, row, last - first - 1, 1});
        for (std::size_t j = i; j < rowEnd;) {
            std::size_t k = j + 1;
            while (k < rowEnd && pixels[k].second == pixels[k - 1].second + 1) ++k;
            outline.push_back({static_cast<int32_t>(pixels[j].second), row, static_cast<int32_t>(k - j), 1});
            j = k;
        }
        i = rowEnd;
    }
}

void AppendEllipsePixels(Rect box, std::vector<PixelRun>& outline, std::vector<PixelRun>& interior) {
    AppendEllipsePixels(box, box.right - box.left, box.bottom - box.top, outline, interior);
}

}  // namespace tessaly
