#include "FlowerIcon.h"

#include <cmath>

namespace tessaly {

namespace {

// The design, in units of a 32 x 32 icon.
constexpr double kHeadX = 16.0, kHeadY = 12.0;
constexpr int kPetalCount = 6;
constexpr double kPetalDistance = 6.0;  // from the heart to each petal's centre
constexpr double kPetalLength = 5.5, kPetalWidth = 3.2;  // semi-axes
constexpr double kHeartRadius = 3.6;
constexpr double kStem[4][2] = {{16.0, 16.0}, {16.5, 22.0}, {14.0, 26.0}, {15.0, 31.0}};
constexpr double kLeafX = 9.5, kLeafY = 24.5, kLeafLength = 6.0, kLeafWidth = 2.4, kLeafTilt = -0.6;

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
    cairo_set_line_width(cr, 1.0);

    cairo_move_to(cr, kStem[0][0], kStem[0][1]);
    cairo_curve_to(cr, kStem[1][0], kStem[1][1], kStem[2][0], kStem[2][1], kStem[3][0], kStem[3][1]);
    cairo_set_line_width(cr, 2.0);
    SetColour(cr, kIconStem);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.0);

    Oval(cr, kLeafX, kLeafY, kLeafLength, kLeafWidth, kLeafTilt, kIconLeaf, kIconStem);

    for (int i = 0; i < kPetalCount; ++i) {
        const double angle = i * 2.0 * M_PI / kPetalCount - M_PI / 2.0;
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
