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
    int sinceLeaf = rhythm.gap;
    double sum = 0.0;
    for (int j = 0; j <= count; ++j) {
        sum = rhythm.wave / kWaveDivisor + sum;
        points[j] = Point{x + StemSway(rhythm.phase + sum, amplitude), y - j};
        sinceLeaf = sinceLeaf + 1;
        if (sinceLeaf > rhythm.gap) {
            rhythm.wave = NextWave(random, rhythm.wave);
            sinceLeaf = 0;
            leafItems[leafCount] = points[j];
            leafCount = leafCount + 1;
        }
    }
    // The highest leaf point would crowd the head: drop it, and one more when
    // the stem ends soon after the last leaf and there are leaves to spare.
    leafCount = leafCount - 1;
    if (sinceLeaf < kShortTop && leafCount > kMinLeavesToTrim) leafCount = leafCount - 1;
    // points[count] is written but not drawn: the head sits there.
    pointCount = count;
}

void GrowBasalStem(Random& random, StemPoints& points, int32_t& pointCount, LeafPoints& leafItems, int32_t& leafCount, int count,
                   double amplitude, int x, int y, StemRhythm rhythm) {
    double sum = rhythm.wave / kWaveDivisor + 0.0;
    points[0] = Point{x + StemSway(rhythm.phase + sum, amplitude), y};
    int sinceLeaf = 1;
    // All leaves grow from the foot.
    leafCount = 0;
    for (int k = 0; k < kFootLeaves; ++k) {
        leafItems[leafCount] = points[0];
        leafCount = leafCount + 1;
    }
    for (int j = 1; j <= count; ++j) {
        sum = rhythm.wave / kWaveDivisor + sum;
        points[j] = Point{x + StemSway(rhythm.phase + sum, amplitude), y - j};
        sinceLeaf = sinceLeaf + 1;
        if (sinceLeaf > rhythm.gap) {
            rhythm.wave = NextWave(random, rhythm.wave);
            sinceLeaf = 0;
        }
    }
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
