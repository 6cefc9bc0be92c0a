#include <gtest/gtest.h>

#include "state/GardenState.h"

#include <cmath>

#include "figures/Figure.h"
#include "generators/ProfileBuilder.h"
#include "generators/RunningValues.h"

using namespace tessaly;

namespace {

// The garden these tests build in; each test starts it afresh.
GardenState garden;

struct ProfileRow {
    int profile;
    Point at[6];  // indices 0, 1, 25, 49, 50, 99
};

// Base (0, 0), width 0.5, angle 0, size 10.
const ProfileRow kRows[] = {
    {0, {{0, 0}, {3, 4}, {70, 100}, {17, 196}, {3, 199}, {-2, 4}}},
    {1, {{0, 0}, {1, 4}, {87, 100}, {1, 196}, {2, 199}, {-1, 4}}},
    {2, {{0, 0}, {-1, 4}, {60, 100}, {23, 196}, {3, 199}, {1, 3}}},
    {3, {{0, 0}, {7, 4}, {100, 100}, {7, 196}, {3, 199}, {-7, 4}}},
    {4, {{0, 0}, {21, 4}, {65, 100}, {0, 196}, {2, 199}, {-21, 4}}},
    {5, {{0, 0}, {28, 4}, {100, 100}, {27, 196}, {3, 199}, {-27, 4}}},
};
const int kSampled[] = {0, 1, 25, 49, 50, 99};

// Number of outline points FillPetal moved relative to a plain profile fill.
int PulledPoints(const Figure& first, int angle) {
    PetalFigure plain;
    PetalFigure tucked;
    FillFromProfile(plain, 0.3, angle, 5.0, 700, 500, 3);
    FillPetal(tucked, first, 0.3, angle, 5, 700, 500, 3, ringAngleSteps[garden.ringStepIndex]);
    int moved = 0;
    for (int k = 0; k <= 100; ++k) {
        if (tucked.points[k] != plain.points[k]) {
            ++moved;
            EXPECT_EQ(tucked.points[k], first.points[100 - k]) << "angle " << angle << " point " << k;
        }
    }
    return moved;
}

class RingStep : public ::testing::Test {
protected:
    void TearDown() override { garden = GardenState{}; }
};

}  // namespace

TEST(ProfileBuilder, SixProfilesAtSampledIndices) {
    for (const ProfileRow& row : kRows) {
        StemLeafFigure f;
        FillFromProfile(f, 0.5, 0, 10.0, 0, 0, row.profile);
        ASSERT_EQ(f.pointCount, 100);
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(f.points[kSampled[s]], row.at[s]) << "profile " << row.profile << " index " << kSampled[s];
    }
}

TEST(ProfileBuilder, TurnedNarrowLeafAtAnOffsetBase) {
    StemLeafFigure f;
    FillFromProfile(f, 0.2, 60, 10.0, 700, 500, 1);
    EXPECT_EQ(f.points[0], (Point{700, 500}));
    EXPECT_EQ(f.points[25], (Point{631, 580}));
    EXPECT_EQ(f.points[49], (Point{531, 598}));
    EXPECT_EQ(f.points[50], (Point{529, 602}));
    EXPECT_EQ(f.points[99], (Point{697, 501}));
}

TEST(ProfileBuilder, LeftHalfKeepsTheOneDegreeTiltAtTheTip) {
    // Profile 3 at angle 0: the right half's tip would be (0, 200); the left
    // half, turned by 361 instead of 360, replaces it with (3, 199).
    EXPECT_EQ(PlaceProfilePoint(1.0000000000000004, 0.5, 0.0, 10.0, 3), (Point{0, 200}));
    StemLeafFigure f;
    FillFromProfile(f, 0.5, 0, 10.0, 0, 0, 3);
    EXPECT_EQ(f.points[50], (Point{3, 199}));
}

TEST(ProfileBuilder, WritesTheLeftBaseAtIndexHundred) {
    StemLeafFigure f;
    f.points[100] = {12345, 12345};
    f.points[101] = {12345, 12345};
    FillFromProfile(f, 0.5, 30, 10.0, 400, 300, 3);
    EXPECT_EQ(f.pointCount, 100);
    EXPECT_EQ(f.points[100], (Point{400, 300}));  // t just below 0: on the base
    EXPECT_EQ(f.points[101], (Point{12345, 12345}));
}

TEST(ProfileBuilder, ProfilesOutsideZeroToFiveAreTheEllipse) {
    for (double t : {0.0, 0.1, 0.37, 0.5, 0.93}) {
        EXPECT_EQ(ProfileHalfWidth(t, 0.4, -1), ProfileHalfWidth(t, 0.4, 5));
        EXPECT_EQ(ProfileHalfWidth(t, 0.4, 6), ProfileHalfWidth(t, 0.4, 5));
    }
    EXPECT_DOUBLE_EQ(ProfileHalfWidth(0.5, 0.4, 5), 0.4);
}

TEST(ProfileBuilder, EllipseIsDefinedJustOutsideItsEnds) {
    // The accumulated samples a hair past 1 and below 0 make 1 - u*u negative.
    for (double t : {1.0000000000000004, -6.2e-16}) {
        const double h = ProfileHalfWidth(t, 0.5, 5);
        EXPECT_FALSE(std::isnan(h));
        EXPECT_EQ(h, 0.0);
    }
    StemLeafFigure f;
    FillFromProfile(f, 0.5, 45, 10.0, 0, 0, 5);
    EXPECT_EQ(f.points[100], (Point{0, 0}));
}

TEST(ProfileBuilder, SizeZeroCollapsesAndNegativeSizeNegates) {
    for (int profile = 0; profile <= 5; ++profile) {
        PetalFigure zero;
        PetalFigure plus;
        PetalFigure minus;
        FillFromProfile(zero, 0.3, 72, 0.0, 50, 60, profile);
        FillFromProfile(plus, 0.3, 72, 1.0, 0, 0, profile);
        FillFromProfile(minus, 0.3, 72, -1.0, 0, 0, profile);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(zero.points[i], (Point{50, 60}));
            EXPECT_EQ(minus.points[i], (Point{-plus.points[i].x, -plus.points[i].y}));
        }
    }
}

TEST_F(RingStep, FivePetalRingTucksOnlyThePetalsThatCloseIt) {
    garden.ringStepIndex = 7;  // 72 degrees
    PetalFigure first;
    FillPetal(first, first, 0.3, 0, 5, 700, 500, 3, ringAngleSteps[garden.ringStepIndex]);
    EXPECT_EQ(PulledPoints(first, 72), 0);
    EXPECT_EQ(PulledPoints(first, 144), 3);
    EXPECT_EQ(PulledPoints(first, 216), 0);
    EXPECT_EQ(PulledPoints(first, 288), 18);
}

TEST_F(RingStep, TuckStartsWhereAngleAndStepReachTwoHundred) {
    garden.ringStepIndex = 8;  // 90 degrees
    PetalFigure first;
    FillPetal(first, first, 0.5, 0, 10, 0, 0, 3, ringAngleSteps[garden.ringStepIndex]);
    // A stand-in first petal far to the right and low: every point of a
    // petal that is examined lies left of it and above the tolerance.
    PetalFigure wide;
    for (int i = 0; i < 100; ++i) wide.points[i] = {10000, -10000};
    wide.pointCount = 100;

    PetalFigure at100;
    FillPetal(at100, wide, 0.5, 100, 10, 0, 0, 3, ringAngleSteps[garden.ringStepIndex]);  // 190: left as built
    PetalFigure plain;
    FillFromProfile(plain, 0.5, 100, 10.0, 0, 0, 3);
    for (int k = 0; k <= 100; ++k) EXPECT_EQ(at100.points[k], plain.points[k]);

    PetalFigure at110;
    FillPetal(at110, wide, 0.5, 110, 10, 0, 0, 3, ringAngleSteps[garden.ringStepIndex]);  // 200: examined
    EXPECT_EQ(at110.points[0], (Point{0, 0}));       // never touched
    for (int k = 1; k <= 100; ++k) EXPECT_EQ(at110.points[k], (Point{10000, -10000})) << k;
}
