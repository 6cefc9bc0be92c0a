#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "figures/Figure.h"
#include "generators/PointList.h"
#include "generators/StemBuilder.h"
#include "random/Random.h"
#include "support/Fakes.h"
#include "state/GardenState.h"

using namespace tessaly;

namespace {

// The garden these tests build in; each test starts it afresh.
GardenState garden;

using tessaly::testing::DrawFor;
using tessaly::testing::ScriptedDraws;

// Raw draws making phase 0, wave 1 (so 2 + wave = 3) and gap
// trunc(count / (spread + 3) + 10).
std::vector<int> Opening(int spread) { return {DrawFor(0, 360), DrawFor(0, 5), DrawFor(spread, 20)}; }

std::vector<int> Heights(const PointList& leaves, int footY) {
    std::vector<int> h;
    for (int i = 0; i < leaves.count; ++i) h.push_back(footY - leaves.items[i].y);
    return h;
}

}  // namespace

TEST(StemSway, TruncatesTheScaledSine) {
    EXPECT_EQ(StemSway(90, 2), 8);
    EXPECT_EQ(StemSway(30, 7), 13);  // 13.9999999996 with the stored factor
    EXPECT_EQ(StemSway(210, 7), -13);
    EXPECT_EQ(StemSway(0, 7), 0);
}

// One stem with its leaf list and an untouched marker just past its top.
struct Grown {
    explicit Grown(int count) { stem.points[count + 1] = kMarker; }
    static constexpr Point kMarker{-9999, -9999};
    PolylineFigure stem;
    PointList leaves;
};

TEST(DrawStemRhythm, ScalesItsThreeDrawsInOrder) {
    {
        ScriptedDraws draws(garden.random, {DrawFor(359, 360), DrawFor(4, 5), DrawFor(19, 20)}, 0);
        const StemRhythm rhythm = DrawStemRhythm(garden.random, 500);
        EXPECT_EQ(rhythm.phase, 359.0);
        EXPECT_EQ(rhythm.wave, 5.0);
        EXPECT_EQ(rhythm.gap, 29);  // 500 / 26 + 10 = 29.2
        EXPECT_EQ(draws.used, 3);
    }
    {
        ScriptedDraws draws(garden.random, Opening(0), 0);
        EXPECT_EQ(DrawStemRhythm(garden.random, 500).gap, 176);  // 500 / 3 + 10 = 176.7
    }
}

TEST(BuildStem, ShortTopLosesOneMoreLeaf) {
    // Spread 16 with wave 1: 200 / 19 + 10 = 20.5, so the gap is 20.
    ScriptedDraws draws(garden.random, Opening(16), 0);
    Grown g(200);
    BuildStem(garden.random, g.stem.points, g.stem.pointCount, g.leaves.items, g.leaves.count, 200, 3.0, 700,
              1000);
    // Leaf points at 0, 21, ..., 189; 189 is dropped, and with 11 steps above
    // it and nine left, 168 goes too.
    EXPECT_EQ(Heights(g.leaves, 1000), (std::vector<int>{0, 21, 42, 63, 84, 105, 126, 147}));
    EXPECT_EQ(draws.used, 3 + 10);  // one wave redraw per leaf point, the dropped ones included
    for (int i = 0; i < g.leaves.count; ++i) EXPECT_EQ(g.leaves.items[i], g.stem.points[21 * i]);
}

TEST(GrowStem, TallStemKeepsNineLeaves) {
    // Gap 50 is not reachable from count 500 by the opening draws (the divisor
    // would have to be 12.2 to 12.5), so the rhythm is given.
    ScriptedDraws draws(garden.random, {}, 0);
    Grown g(500);
    GrowStem(garden.random, g.stem.points, g.stem.pointCount, g.leaves.items, g.leaves.count, 500, 3.0, 700,
             1000, StemRhythm{0.0, 1.0, 50});
    // 0, 51, ..., 459, the last dropped; 41 steps above it is not a short top.
    EXPECT_EQ(Heights(g.leaves, 1000), (std::vector<int>{0, 51, 102, 153, 204, 255, 306, 357, 408}));
    EXPECT_EQ(draws.used, 10);
}

TEST(BuildStem, WritesCountPlusOnePointsWithinTheSway) {
    garden.random.Seed(2024);
    for (int count : {150, 333, 989}) {
        for (double amplitude : {2.0, 7.0}) {
            Grown g(count);
            BuildStem(garden.random, g.stem.points, g.stem.pointCount, g.leaves.items, g.leaves.count, count,
                      amplitude, 640, 1000);
            EXPECT_EQ(g.stem.pointCount, count);
            for (int j = 0; j <= count; ++j) {
                EXPECT_EQ(g.stem.points[j].y, 1000 - j);
                EXPECT_LE(std::abs(g.stem.points[j].x - 640), amplitude * 4);
            }
            EXPECT_EQ(g.stem.points[count + 1], Grown::kMarker);
            EXPECT_GE(g.leaves.count, 0);
            EXPECT_LE(g.leaves.count, 90);
            EXPECT_EQ(g.leaves.items[0], g.stem.points[0]);
        }
    }
}

TEST(BuildStem, FirstWaveChangeComesWithTheFootLeaf) {
    // Phase 0 and a wide sway make the rate visible from the second point on.
    Grown slow(100);
    Grown fast(100);
    {
        ScriptedDraws draws(garden.random, Opening(0), 0);  // redraws give wave (1 + 1) / 2
        BuildStem(garden.random, slow.stem.points, slow.stem.pointCount, slow.leaves.items, slow.leaves.count,
                  100, 100.0, 700, 1000);
    }
    {
        ScriptedDraws draws(garden.random, Opening(0), 32767);  // redraws give wave (5 + 1) / 2
        BuildStem(garden.random, fast.stem.points, fast.stem.pointCount, fast.leaves.items, fast.leaves.count,
                  100, 100.0, 700, 1000);
    }
    EXPECT_EQ(slow.stem.points[0], fast.stem.points[0]);
    EXPECT_NE(slow.stem.points[1], fast.stem.points[1]);
}

TEST(BuildBasalStem, FiveFootLeavesAndTheFirstWaveChangeAtTheGap) {
    Grown slow(61);
    Grown fast(61);
    int used = 0;
    {
        ScriptedDraws draws(garden.random, Opening(0), 0);  // gap 61 / 3 + 10 = 30.3, so 30
        BuildBasalStem(garden.random, slow.stem.points, slow.stem.pointCount, slow.leaves.items,
                       slow.leaves.count, 61, 100.0, 700, 1000);
        used = draws.used;
    }
    {
        ScriptedDraws draws(garden.random, Opening(0), 32767);
        BuildBasalStem(garden.random, fast.stem.points, fast.stem.pointCount, fast.leaves.items,
                       fast.leaves.count, 61, 100.0, 700, 1000);
    }
    EXPECT_EQ(used, 3 + 2);  // wave changes after j = 30 and j = 61
    for (const Grown* g : {&slow, &fast}) {
        EXPECT_EQ(g->stem.pointCount, 61);
        EXPECT_EQ(g->stem.points[0].y, 1000);
        ASSERT_EQ(g->leaves.count, 5);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(g->leaves.items[i], g->stem.points[0]);
        EXPECT_EQ(g->stem.points[62], Grown::kMarker);
    }
    for (int j = 0; j <= 30; ++j) EXPECT_EQ(slow.stem.points[j], fast.stem.points[j]) << j;
    EXPECT_NE(slow.stem.points[31], fast.stem.points[31]);
}
