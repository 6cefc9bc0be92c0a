#include "FlowerIcon.h"

#include <cmath>

namespace tessaly {

namespace {

// The design, in units of a 32 x 32 icon; the Windows icon is drawn from
// the same figures pixel by pixel.
constexpr double kHeadX = 15.5, kHeadY = 10.5;
constexpr int kPetalCount = 6;
constexpr double kPetalDistance = 6.0;                    // from the heart to each petal's centre
constexpr double kPetalLength = 4.6, kPetalWidth = 3.0;  // semi-axes
constexpr double kHeartRadius = 3.2;
constexpr double kStemTop = 14.0;
constexpr double kStemSway = 1.5;  // x = 16 + sway x sin((y - top) / 6)
struct Leaf {
    double x, y, tilt;  // tilt: radians, the outer end up
};
constexpr Leaf kLeaves[] = {{11.5, 24.5, 0.32}, {20.5, 21.5, -0.32}};
constexpr double kLeafLength = 5.5, kLeafWidth = 2.4;

void SetColour(cairo_t* cr, ColourRef c) {
    cairo_set_source_rgb(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
}

// A filled ellipse centred at (x, y), long axis turned by `angle` radians.
void Oval(cairo_t* cr, double x, double y, double a, double b, double angle, ColourRef fill,
          ColourRef edge) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, a, b);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * M_PI);
    cairo_restore(cr);  // stroke with an unscaled line
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, edge);
    cairo_stroke(cr);
}

}  // namespace

void DrawFlowerIcon(cairo_t* cr, int size) {
    cairo_save(cr);
    cairo_scale(cr, size / static_cast<double>(kIconDesignSize), size / static_cast<double>(kIconDesignSize));

    for (double y = kStemTop; y <= kIconDesignSize; y += 1.0) {
        const double x = 16.0 + kStemSway * std::sin((y - kStemTop) / 6.0);
        if (y == kStemTop) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_set_line_width(cr, 2.0);
    SetColour(cr, kIconStem);
    cairo_stroke(cr);

    cairo_set_line_width(cr, 1.0);
    for (const Leaf& leaf : kLeaves) {
        Oval(cr, leaf.x, leaf.y, kLeafLength, kLeafWidth, leaf.tilt, kIconLeaf, kIconStem);
    }
    for (int i = 0; i < kPetalCount; ++i) {
        const double angle = i * 2.0 * M_PI / kPetalCount;
        Oval(cr, kHeadX + kPetalDistance * std::cos(angle), kHeadY + kPetalDistance * std::sin(angle),
             kPetalLength, kPetalWidth, angle, kIconPetal, kIconPetalEdge);
    }
    Oval(cr, kHeadX, kHeadY, kHeartRadius, kHeartRadius, 0.0, kIconHeart, kIconHeartEdge);
    cairo_restore(cr);
}

CairoSurface CreateFlowerIcon(int size) {
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    CairoContext cr(cairo_create(surface.get()));
    DrawFlowerIcon(cr.get(), size);
    cairo_surface_flush(surface.get());
    return surface;
}

}  // namespace tessaly
