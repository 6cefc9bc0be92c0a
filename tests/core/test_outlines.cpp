#include <gtest/gtest.h>

#include "figures/Figure.h"
#include "generators/OutlineTables.h"
#include "generators/OutlineTemplates.h"

using namespace tessaly;

TEST(OutlineTemplates, FlakePointsTurnAndTruncate) {
    EXPECT_EQ(PlaceOutlinePoint(2, 0, 1.0, 0.0, 10.0), (Point{40, 0}));
    EXPECT_EQ(PlaceOutlinePoint(2, 2, 1.0, 0.0, 10.0), (Point{34, 34}));
    // cos of the converted 90 degrees is tiny and positive: truncates to 0.
    EXPECT_EQ(PlaceOutlinePoint(2, 0, 1.0, 90.0, 10.0), (Point{0, 40}));
    EXPECT_EQ(PlaceOutlinePoint(2, 2, 1.0, 60.0, 10.0), (Point{-12, 47}));
}

TEST(OutlineTemplates, LeafPointsStretchAcrossTheAxis) {
    EXPECT_EQ(PlaceOutlinePoint(0, 8, 0.5, 0.0, 10.0), (Point{90, 100}));
    EXPECT_EQ(PlaceOutlinePoint(0, 8, 0.5, 60.0, 10.0), (Point{-41, 128}));
    EXPECT_EQ(PlaceOutlinePoint(0, 16, 0.5, 60.0, 6.0), (Point{60, 103}));
    EXPECT_EQ(PlaceOutlinePoint(0, 16, 0.5, 90.0, 6.0), (Point{0, 120}));
    EXPECT_EQ(PlaceOutlinePoint(1, 9, 0.3, 0.0, 17.0), (Point{127, 102}));
}

TEST(OutlineTemplates, FlakesIgnoreStretch) {
    for (int mode = 2; mode <= 4; ++mode)
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(PlaceOutlinePoint(mode, i, 0.3, 25.0, 7.0), PlaceOutlinePoint(mode, i, 1.0, 25.0, 7.0));
}

TEST(OutlineTemplates, ModesPastTheTableUseTheLastFlake) {
    EXPECT_EQ(OutlinePointCount(0), 33);
    EXPECT_EQ(OutlinePointCount(1), 61);
    for (int mode : {2, 3, 4, 5, -1}) EXPECT_EQ(OutlinePointCount(mode), 12);
    for (int mode : {5, -1, 1000})
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(PlaceOutlinePoint(mode, i, 0.5, 33.0, 9.0), PlaceOutlinePoint(4, i, 0.5, 33.0, 9.0));
    // The three flakes differ in their notches (point 1).
    EXPECT_NE(PlaceOutlinePoint(2, 1, 1, 0, 10), PlaceOutlinePoint(3, 1, 1, 0, 10));
    EXPECT_NE(PlaceOutlinePoint(3, 1, 1, 0, 10), PlaceOutlinePoint(4, 1, 1, 0, 10));
}

TEST(OutlineTables, LeavesMirrorTheirPositiveSide) {
    // Leaf A: 17..32 mirror 15..0; leaf B: 30 + k mirrors 30 - k.
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(LeafOutlineA[16 + k].x, LeafOutlineA[16 - k].x) << k;
        EXPECT_EQ(LeafOutlineA[16 + k].y, -LeafOutlineA[16 - k].y) << k;
    }
    for (int k = 1; k <= 30; ++k) {
        EXPECT_EQ(LeafOutlineB[30 + k].x, LeafOutlineB[30 - k].x) << k;
        EXPECT_EQ(LeafOutlineB[30 + k].y, -LeafOutlineB[30 - k].y) << k;
    }
    EXPECT_EQ(LeafOutlineA[16].x, 1.0);
    EXPECT_EQ(LeafOutlineB[30].x, 1.0);
    EXPECT_EQ(FlakeOutlineB[1].y, 0.124);
}

TEST(OutlineTemplates, FillPlacesEveryPointAndResetsTheCount) {
    for (int mode : {0, 1, 2, 3, 4, 7}) {
        SnowflakeFigure f;
        f.pointCount = 500;
        FillFromOutline(f, 0.4, 85, 9.0, 300, 200, mode);
        ASSERT_EQ(f.pointCount, OutlinePointCount(mode));
        for (int i = 0; i < f.pointCount; ++i) {
            const Point p = PlaceOutlinePoint(mode, i, 0.4, 85.0, 9.0);
            EXPECT_EQ(f.points[i], (Point{300 + p.x, 200 + p.y})) << mode << " " << i;
        }
    }
}
