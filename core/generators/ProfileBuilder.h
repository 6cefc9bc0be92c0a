// Petals and leaves built from a width profile h(t) along their axis.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace tessaly {

class Figure;

double ProfileHalfWidth(double t, double width, int profile);
Point PlaceProfilePoint(double t, double width, double angle, double size, int profile);
void FillFromProfile(Figure& figure, double width, int angle, double size, int x, int y, int profile);
// `ringAngleStep` is the angle between the ring's petals: a petal that closes
// the ring is tucked under the first.
void FillPetal(Figure& figure, const Figure& first, double width, int angle, int size, int x, int y,
               int profile, int32_t ringAngleStep);

}  // namespace tessaly
