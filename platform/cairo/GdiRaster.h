// The pixel rules of GDI that the Cairo device imitates, as plain geometry
// with no drawing library attached: the anisotropic mapping with its
// rounding, the cosmetic one-pixel line stepping, and the pixels of Ellipse.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Geometry.h"

namespace tessaly {

// One axis of MM_ANISOTROPIC: window origin and extent, viewport origin and
// extent. The identity until the mapping calls change it.
struct AxisMapping {
    int32_t windowOrg = 0;
    int32_t windowExt = 1;
    int32_t viewportOrg = 0;
    int32_t viewportExt = 1;

    // logical * scale + offset rounded as floor(v + 0.5), the way GDI maps:
    // its transform holds single-precision floats, scale = viewportExt /
    // windowExt and offset = viewportOrg - scale * windowOrg, each worked out
    // in double and then stored as float; the point is mapped in double.
    // Off exact halves this is the nearest pixel. On them the float decides:
    // 0.9f lies below 0.9, so 395 at 900 / 1000 (355.5) lands on 355, while
    // 1/6 as a float lies above, so -195 at 1 / 6 (-32.5) lands on -33.
    // Results beyond the int32 range saturate.
    int32_t ToDevice(int32_t logical) const;
};

struct AnisotropicMapping {
    AxisMapping x;
    AxisMapping y;
    Point ToDevice(Point logical) const { return {x.ToDevice(logical.x), y.ToDevice(logical.y)}; }
};

// A block of device pixels: columns x .. x+width-1, rows y .. y+height-1.
struct PixelRun {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// The pixels of a cosmetic one-pixel line from a to b: one pixel per step
// along the major axis, the minor coordinate rounded to the nearest pixel with
// ties toward the smaller coordinate, and b itself left out. Consecutive
// pixels on one row (or column) are appended as one run.
void AppendLinePixels(Point a, Point b, std::vector<PixelRun>& runs);

// The pixels a GDI polygon fill covers (ALTERNATE rule): on every pixel row
// y, the pixels from the first whose x is at or right of an edge to the last
// left of the next edge, taking the edges crossing y in pairs. An edge
// counts on the rows from its upper end up to, not including, its lower end,
// so left and top edges are inside and right and bottom edges outside.
// Appends one run per span, for the rows firstRow .. lastRow only.
void AppendPolygonFillPixels(const Point* points, int count, std::vector<PixelRun>& runs,
                             int32_t firstRow = INT32_MIN, int32_t lastRow = INT32_MAX);

// Ellipse over the device box (left, top, right, bottom), right and bottom
// exclusive, as GDI draws it with a one-pixel pen: `outline` receives the
// pixels nearest the ideal ellipse through the outer pixel centres of the
// box, `interior` the pixels between them. A reversed box is normalised
// first; an empty box gives nothing, a box two pixels or less across its
// rectangle.
void AppendEllipsePixels(Rect box, std::vector<PixelRun>& outline, std::vector<PixelRun>& interior);

// The same with the ellipse's own size given apart from the box, as GDI
// maps it: the logical width and height mapped as lengths. Where it comes out
// smaller than the mapped box (by rounding), the curve is drawn at that size
// in the box's corners and joined by straight lines.
void AppendEllipsePixels(Rect box, int32_t ellipseWidth, int32_t ellipseHeight, std::vector<PixelRun>& outline,
                         std::vector<PixelRun>& interior);

}  // namespace tessaly
