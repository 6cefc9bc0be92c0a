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

// The opening draws both builders share, in their order.
struct StemRhythm {
    double phase;  // degrees along the sway's sine at the foot
    double wave;   // how fast the sway advances, changed at random as the stem grows
    int gap;       // steps between changes of wave (and between leaves)
};

StemRhythm DrawRhythm(int count) {
    StemRhythm rhythm;
    rhythm.phase = static_cast<double>(R(360));
    rhythm.wave = static_cast<double>(R(5) + 1);
    const int spread = R(20);
    rhythm.gap = static_cast<int>(count / (spread + (2 + rhythm.wave)) + kBaseGap);
    return rhythm;
}

// A fresh rate, averaged with the old one so the sway changes smoothly.
double NextWave(double wave) {
    const int r2 = R(5) + 1;
    return (r2 + wave) / 2;
}

}  // namespace

int StemSway(double angle, double amplitude) {
    return static_cast<int>((std::sin(angle * kDegreesToRadians) * amplitude) * kSwayScale);
}

void BuildStem(Point* points, int32_t& pointCount, Point* leafItems, int32_t& leafCount, int count,
               double amplitude, int x, int y) {
    StemRhythm rhythm = DrawRhythm(count);
    leafCount = 0;
    // Starting at gap puts the first leaf on the foot.
    int sinceLeaf = rhythm.gap;
    double sum = 0.0;
    for (int j = 0; j <= count; ++j) {
        sum = rhythm.wave / kWaveDivisor + sum;
        points[j] = Point{x + StemSway(rhythm.phase + sum, amplitude), y - j};
        sinceLeaf = sinceLeaf + 1;
        if (sinceLeaf > rhythm.gap) {
            rhythm.wave = NextWave(rhythm.wave);
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

void BuildBasalStem(Point* points, int32_t& pointCount, Point* leafItems, int32_t& leafCount,
                    int count, double amplitude, int x, int y) {
    StemRhythm rhythm = DrawRhythm(count);
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
            rhythm.wave = NextWave(rhythm.wave);
            sinceLeaf = 0;
        }
    }
    pointCount = count;
}

}  // namespace tessaly
