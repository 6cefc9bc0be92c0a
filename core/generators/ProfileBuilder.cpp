#include "generators/ProfileBuilder.h"

#include <cmath>
#include <cstdint>

#include "figures/Figure.h"

namespace tessaly {

namespace {

constexpr double kSampleStep = 0.02;
constexpr double kProfileScale = 20.0;
// The left half is mirrored with 361 - angle, which turns it one degree
// further about the base than a true mirror; every garden has this tilt.
constexpr int kMirrorAngleBase = 361;
// Petals whose angle plus the ring step reaches this close the ring and are
// tucked under its first petal.
constexpr int kTuckAngle = 200;
constexpr int kTuckTolerance = 5;

// Each term is its coefficient times its factors in the written order; the
// terms are summed left to right. The order fixes the rounding.
double Profile0(double t, double t2, double t4) {
    return -10.4 * t4 + 13.2 * t2 * t - 4.4 * t2 + 1.6 * t;
}

double Profile1(double t, double t2, double t3, double t4) {
    return 25.78 * t4 * t2 - 40.71 * t4 * t + 6.237 * t4 + 8.02 * t3 - 0.043 * t2 + 0.727 * t;
}

double Profile2(double t, double t2, double t3, double t4, double t5) {
    return -34.996 * t5 + 73.172 * t4 - 55.492 * t3 + 18.402 * t2 - 1.0849 * t;
}

double Profile3(double t, double t2) { return -4.0 * t2 + 4.0 * t; }

double Profile4(double t, double t2, double t4, double t5) {
    return 22.897 * t5 - 70.17 * t4 + 83.461 * t2 * t - 47.937 * t2 + 11.754 * t;
}

// An ellipse across the whole axis. The accumulated t of the last sample of
// each half lies a hair outside 0..1, where 1 - u*u is slightly negative:
// clamp it so the root stays defined (that half-width is 0 there anyway).
double EllipseProfile(double t, double width) {
    const double u = (t - 0.5) + (t - 0.5);
    double radicand = 1.0 - u * u;
    if (radicand < 0.0) radicand = 0.0;
    return std::sqrt(radicand * (width * width));
}

}  // namespace

double ProfileHalfWidth(double t, double width, int profile) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t2 * t2;
    const double t5 = t4 * t;
    switch (static_cast<unsigned>(profile)) {
        case 0: return Profile0(t, t2, t4) * width;
        case 1: return Profile1(t, t2, t3, t4) * width;
        case 2: return Profile2(t, t2, t3, t4, t5) * width;
        case 3: return Profile3(t, t2) * width;
        case 4: return Profile4(t, t2, t4, t5) * width;
        default: return EllipseProfile(t, width);  // 5, and every other value
    }
}

Point PlaceProfilePoint(double t, double width, double angle, double size, int profile) {
    // In the shape's own frame the point is (h, t): across, then along the axis.
    const double h = ProfileHalfWidth(t, width, profile);
    const double phi = std::atan2(t, h) + angle * kDegreesToRadians;
    const double m = std::sqrt(h * h + t * t);
    const double x = ((std::cos(phi) * m) * size) * kProfileScale;
    const double y = ((std::sin(phi) * m) * size) * kProfileScale;
    return Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void FillFromProfile(Figure& figure, double width, int angle, double size, int x, int y, int profile) {
    auto& points = figure.points;

    // Right half, base to tip. t is accumulated, so the last sample is
    // 1.0000000000000004: 51 points, indices 0..50.
    int i = 0;
    for (double t = 0.0; kSampleStep / 2 + 1 > t; t = t + kSampleStep) {
        const Point p = PlaceProfilePoint(t, width, angle, size, profile);
        points[i] = Point{x + p.x, y + p.y};
        i = i + 1;
    }
    const int half = i - 1;

    // Left half, tip back to base: 51 points, indices 50..100. Its tip
    // replaces the right half's; index 100 lies past the drawn count.
    const double mirrorAngle = kMirrorAngleBase - angle;
    int j = 0;
    for (double t = 1.0; !(-1 * kSampleStep > t); t = t - kSampleStep) {
        const Point p = PlaceProfilePoint(t, width, mirrorAngle, size, profile);
        points[half + j] = Point{x - p.x, y + p.y};
        j = j + 1;
    }
    figure.pointCount = half * 2;
}

void FillPetal(Figure& figure, const Figure& first, double width, int angle, int size, int x, int y,
               int profile, int32_t ringAngleStep) {
    FillFromProfile(figure, width, angle, static_cast<double>(size), x, y, profile);
    if (angle + ringAngleStep < kTuckAngle) return;

    // A petal that closes the ring is drawn over the first one; pull the part
    // of its left half that overlaps the first petal's right half onto that
    // outline, so the ring looks woven rather than stacked. Walk this petal's
    // outline from the base (index pointCount) toward the tip while walking
    // the first petal's from its base (index 0).
    const int count = figure.pointCount;
    for (int i = 0; i < count; ++i) {
        const int k = count - i;
        const Point& own = figure.points[k];
        const Point& under = first.points[i];
        if (own.x < under.x && own.y >= under.y - kTuckTolerance) figure.points[k] = under;
    }
}

}  // namespace tessaly
