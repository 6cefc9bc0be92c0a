#include "generators/StemBuilder.h"

#include <cmath>

#include "random/Random.h"

namespace tessaly {

namespace {

constexpr double kSwayScale = 4.0;
constexpr double kWaveDivisor = 5.0;
constexpr double kBaseGap = 10.0;
constexpr int kShortTop = 35;       // steps above the last leaf that count as a short top
constexpr int kMinLeavesToTrim = 5;
constexpr int kFootLeaves = 5;

// A fresh rate, averaged with the old one so the sway changes smoothly.
double NextWave(Random& random, double wave) {
    const int r2 = random.R(5) + 1;
    return (r2 + wave) / 2;
}

// The walk up a stem: the summed wave, the steps since the last leaf and the
// rhythm, whose wave changes at every leaf.
struct StemWalk {
    double sum;
    int sinceLeaf;
    StemRhythm rhythm;
};

// Point j of the stem; true when a leaf is due there.
bool StepUp(Random& random, StemWalk& walk, StemPoints& points, int j, double amplitude, int x, int y) {
    walk.sum = walk.rhythm.wave / kWaveDivisor + walk.sum;
    points[j] = Point{x + StemSway(walk.rhythm.phase + walk.sum, amplitude), y - j};
    walk.sinceLeaf = walk.sinceLeaf + 1;
    if (walk.sinceLeaf <= walk.rhythm.gap) return false;
    walk.rhythm.wave = NextWave(random, walk.rhythm.wave);
    walk.sinceLeaf = 0;
    return true;
}

}  // namespace

StemRhythm DrawStemRhythm(Random& random, int count) {
    StemRhythm rhythm;
    rhythm.phase = static_cast<double>(random.R(360));
    rhythm.wave = static_cast<double>(random.R(5) + 1);
    const int spread = random.R(20);
    rhythm.gap = static_cast<int>(count / (spread + (2 + rhythm.wave)) + kBaseGap);
    return rhythm;
}

int StemSway(double angle, double amplitude) {
    return static_cast<int>((std::sin(angle * kDegreesToRadians) * amplitude) * kSwayScale);
}

void GrowStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
              double amplitude, int x, int y, StemRhythm rhythm) {
    leafCount = 0;
    // Starting at gap puts the first leaf on the foot.
    StemWalk walk{0.0, rhythm.gap, rhythm};
    for (int j = 0; j <= count; ++j) {
        if (StepUp(random, walk, points, j, amplitude, x, y)) {
            leafItems[leafCount] = points[j];
            leafCount = leafCount + 1;
        }
    }
    const int sinceLeaf = walk.sinceLeaf;
    // The highest leaf point would crowd the head: drop it, and one more when
    // the stem ends soon after the last leaf and there are leaves to spare.
    leafCount = leafCount - 1;
    if (sinceLeaf < kShortTop && leafCount > kMinLeavesToTrim) leafCount = leafCount - 1;
    // points[count] is written but not drawn: the head sits there.
    pointCount = count;
}

void GrowBasalStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
                   double amplitude, int x, int y, StemRhythm rhythm) {
    StemWalk walk{0.0, 0, rhythm};
    StepUp(random, walk, points, 0, amplitude, x, y);  // the foot: one step, no leaf
    // All leaves grow from the foot.
    leafCount = 0;
    for (int k = 0; k < kFootLeaves; ++k) {
        leafItems[leafCount] = points[0];
        leafCount = leafCount + 1;
    }
    for (int j = 1; j <= count; ++j) StepUp(random, walk, points, j, amplitude, x, y);
    pointCount = count;
}

void BuildStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
               double amplitude, int x, int y) {
    const StemRhythm rhythm = DrawStemRhythm(random, count);
    GrowStem(random, points, pointCount, leafItems, leafCount, count, amplitude, x, y, rhythm);
}

void BuildBasalStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount,
                    int count, double amplitude, int x, int y) {
    const StemRhythm rhythm = DrawStemRhythm(random, count);
    GrowBasalStem(random, points, pointCount, leafItems, leafCount, count, amplitude, x, y, rhythm);
}

}  // namespace tessaly
