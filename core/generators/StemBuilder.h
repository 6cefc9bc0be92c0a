// Swaying stems grown upward from the bottom edge, with the points where leaves grow.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "figures/Figure.h"
#include "generators/PointList.h"
#include "random/Random.h"

namespace tessaly {

using StemPoints = PointArray<kFigurePointCapacity>;
using LeafPoints = PointArray<kPointListCapacity>;

int StemSway(double angle, double amplitude);

// The opening draws both stem builders share: where on the sway's sine the
// foot lies, how fast the sway advances, and the steps between its changes.
struct StemRhythm {
    double phase;  // degrees
    double wave;
    int gap;
};
StemRhythm DrawStemRhythm(Random& random, int count);  // three draws: phase, wave, gap

// The stems grown from a given rhythm; BuildStem and BuildBasalStem are
// DrawStemRhythm followed by these.
void GrowStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
              double amplitude, int x, int y, StemRhythm rhythm);
void GrowBasalStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
                   double amplitude, int x, int y, StemRhythm rhythm);
void BuildStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
               double amplitude, int x, int y);
void BuildBasalStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount,
                    int count, double amplitude, int x, int y);

}  // namespace tessaly
