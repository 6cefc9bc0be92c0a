// Swaying stems grown upward from the bottom edge, with the points where leaves grow.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

namespace tessaly {

int StemSway(double angle, double amplitude);
void BuildStem(Point* points, int32_t& pointCount, Point* leafItems, int32_t& leafCount, int count,
               double amplitude, int x, int y);
void BuildBasalStem(Point* points, int32_t& pointCount, Point* leafItems, int32_t& leafCount,
                    int count, double amplitude, int x, int y);

}  // namespace tessaly
