#include "generators/OutlineTemplates.h"

#include <cmath>
#include <cstdint>

#include "figures/Figure.h"
#include "generators/OutlineTables.h"

namespace tessaly {

namespace {

struct OutlineTemplate {
    const OutlinePoint* points;
    int count;
    double scale;   // logical units per unit of size
    bool stretchY;  // leaves are stretched across their axis, flakes are not
};

// Indexed by mode; every mode past the table (negative ones too, compared as
// unsigned) uses the last entry.
const OutlineTemplate kTemplates[] = {
    {LeafOutlineA, 33, 20.0, true},
    {LeafOutlineB, 61, 20.0, true},
    {FlakeOutlineA, 12, 4.0, false},
    {FlakeOutlineB, 12, 4.0, false},
    {FlakeOutlineC, 12, 4.0, false},
};
constexpr unsigned kTemplateCount = sizeof(kTemplates) / sizeof(kTemplates[0]);

const OutlineTemplate& TemplateOf(int mode) {
    const unsigned m = static_cast<unsigned>(mode);
    return kTemplates[m < kTemplateCount ? m : kTemplateCount - 1];
}

}  // namespace

int OutlinePointCount(int mode) { return TemplateOf(mode).count; }

Point PlaceOutlinePoint(int mode, int index, double stretch, double angle, double size) {
    const OutlineTemplate& shape = TemplateOf(mode);
    const double tx = shape.points[index].x;
    double ty = shape.points[index].y;
    if (shape.stretchY) ty = stretch * ty;
    // Turned through the polar form; its truncated results are what a garden
    // is made of, so it is not replaced by a rotation matrix.
    const double rot = angle * kDegreesToRadians;
    const double phi = std::atan2(ty, tx) + rot;
    const double r = std::sqrt(tx * tx + ty * ty);
    const double x = ((std::cos(phi) * r) * size) * shape.scale;
    const double y = ((std::sin(phi) * r) * size) * shape.scale;
    return Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void FillFromOutline(Figure& figure, double stretch, int angle, double size, int x, int y, int mode) {
    const int count = OutlinePointCount(mode);
    for (int i = 0; i < count; ++i) {
        const Point p = PlaceOutlinePoint(mode, i, stretch, static_cast<double>(angle), size);
        figure.points[i] = Point{x + p.x, y + p.y};
    }
    figure.pointCount = count;
}

}  // namespace tessaly
