// GDI's pixel rules as the Cairo device computes them: mapping rounding,
// cosmetic line stepping and the pixels of Ellipse.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "cairo/GdiRaster.h"

namespace tessaly {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

Pixels Expand(const std::vector<PixelRun>& runs) {
    Pixels pixels;
    for (const PixelRun& r : runs) {
        for (int y = r.y; y < r.y + r.height; ++y) {
            for (int x = r.x; x < r.x + r.width; ++x) pixels.insert({x, y});
        }
    }
    return pixels;
}

Pixels Line(Point a, Point b) {
    std::vector<PixelRun> runs;
    AppendLinePixels(a, b, runs);
    return Expand(runs);
}

AxisMapping Axis(int windowExt, int viewportExt) {
    AxisMapping axis;
    axis.windowExt = windowExt;
    axis.viewportExt = viewportExt;
    return axis;
}

TEST(Mapping, FullHdStretchRoundsToNearest) {
    const AxisMapping x = Axis(1400, 1920);
    const AxisMapping y = Axis(1000, 1080);
    EXPECT_EQ(x.ToDevice(0), 0);
    EXPECT_EQ(x.ToDevice(1), 1);     // 1.371
    EXPECT_EQ(x.ToDevice(3), 4);     // 4.114
    EXPECT_EQ(x.ToDevice(5), 7);     // 6.857
    EXPECT_EQ(x.ToDevice(488), 669); // 669.257
    EXPECT_EQ(x.ToDevice(512), 702); // 702.171
    EXPECT_EQ(x.ToDevice(1400), 1920);
    EXPECT_EQ(y.ToDevice(312), 337); // 336.96
    EXPECT_EQ(y.ToDevice(-12), -13); // -12.96
    EXPECT_EQ(y.ToDevice(1000), 1080);
    // Every coordinate a scene can produce, against the real-valued formula.
    for (int v = -2000; v <= 3000; ++v) {
        ASSERT_EQ(x.ToDevice(v), static_cast<int>(std::floor(v * 1920.0 / 1400.0 + 0.5))) << v;
        ASSERT_EQ(y.ToDevice(v), static_cast<int>(std::floor(v * 1080.0 / 1000.0 + 0.5))) << v;
    }
}

TEST(Mapping, LogicalSizeIsTheIdentity) {
    const AxisMapping x = Axis(1400, 1400);
    const AxisMapping y = Axis(1000, 1000);
    for (int v = -1500; v <= 2500; ++v) {
        ASSERT_EQ(x.ToDevice(v), v);
        ASSERT_EQ(y.ToDevice(v), v);
    }
}

TEST(Mapping, ExactHalvesGoUpWhenTheScaleIsExact) {
    const AxisMapping half = Axis(2, 1);
    EXPECT_EQ(half.ToDevice(1), 1);        // 0.5
    EXPECT_EQ(half.ToDevice(199), 100);    // 99.5
    EXPECT_EQ(half.ToDevice(-1), 0);       // -0.5 goes up, not away from zero
    EXPECT_EQ(half.ToDevice(-199), -99);   // -99.5
}

// Exact halves as Wine's GDI maps them (LPtoDP, and the first pixel of a
// Polyline, agree): the single-precision scale decides which way each goes.
TEST(Mapping, ExactHalvesFollowTheFloatScaleAsGdiDoes) {
    struct Case {
        int windowExt, viewportExt, windowOrg, viewportOrg, logical, device;
    };
    const Case cases[] = {
        // 900 / 1000 (1440 x 900, 1600 x 900): 0.9f < 0.9, halves go toward zero.
        {1000, 900, 0, 0, 5, 4},          // 4.5
        {1000, 900, 0, 0, 15, 13},        // 13.5
        {1000, 900, 0, 0, 395, 355},      // 355.5
        {1000, 900, 0, 0, 995, 895},      // 895.5
        {1000, 900, 0, 0, 1005, 904},     // 904.5
        {1000, 900, 0, 0, 2995, 2695},    // 2695.5
        {1000, 900, 0, 0, -5, -4},        // -4.5
        {1000, 900, 0, 0, -995, -895},    // -895.5
        {1000, 900, 0, 0, -1995, -1795},  // -1795.5
        // 1366 / 1400 (1366 x 768): the same.
        {1400, 1366, 0, 0, 350, 341},     // 341.5
        {1400, 1366, 0, 0, 1050, 1024},   // 1024.5
        {1400, 1366, 0, 0, 2450, 2390},   // 2390.5
        {1400, 1366, 0, 0, -350, -341},   // -341.5
        {1400, 1366, 0, 0, -1050, -1024}, // -1024.5
        {1400, 683, 0, 0, 700, 341},      // 341.5
        {1400, 683, 0, 0, -700, -341},    // -341.5
        {10, 7, 0, 0, 15, 10},            // 10.5
        {10, 7, 0, 0, -5, -3},            // -3.5
        // Scales whose float lies above the real value: halves go away from zero.
        {6, 1, 0, 0, 3, 1},               // 0.5
        {6, 1, 0, 0, 195, 33},            // 32.5
        {6, 1, 0, 0, -3, -1},             // -0.5
        {6, 1, 0, 0, -195, -33},          // -32.5
        {14, 1, 0, 0, 7, 1},              // 0.5
        {14, 1, 0, 0, -7, -1},            // -0.5
        {20, 1, 0, 0, -10, -1},           // -0.5
        {40, 3, 0, 0, 60, 5},             // 4.5
        {40, 3, 0, 0, -20, -2},           // -1.5
        // A negative extent flips the sign of the float scale.
        {-1000, 900, 0, 0, 395, -355},    // -355.5
        {-1000, 900, 0, 0, -5, 4},        // 4.5
        {1000, -900, 0, 0, 5, -4},        // -4.5
        // Origins: the offset viewportOrg - scale * windowOrg is a float too.
        {10, 9, -7, 0, -2, 5},            // 4.5: 6.3f lies above 6.3
        {10, 9, -7, 0, 8, 14},            // 13.5
        {10, 9, -7, -3, -2, 2},           // 1.5: here the errors cancel
        {10, 9, -7, -3, 8, 10},           // 10.5
        {1000, 900, 5, 4, 0, 0},          // -0.5: the offset is exact
        {1000, 900, 5, 4, 10, 8},         // 8.5
        {1000, 900, 5, 4, -10, -9},       // -9.5
    };
    for (const Case& c : cases) {
        AxisMapping axis = Axis(c.windowExt, c.viewportExt);
        axis.windowOrg = c.windowOrg;
        axis.viewportOrg = c.viewportOrg;
        EXPECT_EQ(axis.ToDevice(c.logical), c.device)
            << c.logical << " at " << c.viewportExt << "/" << c.windowExt << " origins " << c.windowOrg << ", "
            << c.viewportOrg;
    }
}

TEST(Mapping, AwayFromHalvesItIsTheNearestPixel) {
    // Every size the comparisons use, over every coordinate a scene produces.
    const int sizes[][2] = {{1366, 1400}, {768, 1000}, {1440, 1400}, {900, 1000}, {1600, 1400}, {683, 1400}};
    for (const auto& [viewportExt, windowExt] : sizes) {
        const AxisMapping axis = Axis(windowExt, viewportExt);
        for (int v = -3000; v <= 4000; ++v) {
            const long long twice = 2LL * v * viewportExt;  // 2 * exact device value * windowExt
            if (twice % windowExt == 0 && (twice / windowExt) % 2 != 0) continue;  // an exact half
            const long long nearest = static_cast<long long>(std::floor(static_cast<long double>(v) * viewportExt / windowExt + 0.5L));
            ASSERT_EQ(axis.ToDevice(v), nearest) << v << " at " << viewportExt << "/" << windowExt;
        }
    }
}

TEST(Mapping, HugeResultsSaturate) {
    const AxisMapping axis = Axis(1, 1000);
    EXPECT_EQ(axis.ToDevice(2000000000), INT32_MAX);
    EXPECT_EQ(axis.ToDevice(-2000000000), INT32_MIN);
    EXPECT_EQ(axis.ToDevice(2000000), 2000000000);
}

TEST(Mapping, OriginsShiftBeforeAndAfterScaling) {
    AxisMapping axis = Axis(10, 30);
    axis.windowOrg = 5;
    axis.viewportOrg = 100;
    EXPECT_EQ(axis.ToDevice(5), 100);
    EXPECT_EQ(axis.ToDevice(6), 103);
    EXPECT_EQ(axis.ToDevice(0), 85);
    // A flipped axis (negative extent) still rounds half up.
    const AxisMapping flipped = Axis(-2, 1);
    EXPECT_EQ(flipped.ToDevice(1), 0);   // -0.5
    EXPECT_EQ(flipped.ToDevice(-1), 1);  // 0.5
}

TEST(LineStepping, HorizontalAndVerticalLeaveOutTheEndPoint) {
    EXPECT_EQ(Line({1, 1}, {5, 1}), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(Line({5, 1}, {1, 1}), (Pixels{{5, 1}, {4, 1}, {3, 1}, {2, 1}}));
    EXPECT_EQ(Line({2, 7}, {2, 4}), (Pixels{{2, 7}, {2, 6}, {2, 5}}));
    EXPECT_TRUE(Line({3, 3}, {3, 3}).empty());
    EXPECT_EQ(Line({0, 0}, {1, 1}), (Pixels{{0, 0}}));
}

TEST(LineStepping, TiesGoTowardTheSmallerCoordinate) {
    // Half way along, the ideal line sits exactly between rows 0 and 1.
    EXPECT_EQ(Line({0, 0}, {4, 1}), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    EXPECT_EQ(Line({4, 1}, {0, 0}), (Pixels{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
    EXPECT_EQ(Line({0, 0}, {1, 4}), (Pixels{{0, 0}, {0, 1}, {0, 2}, {1, 3}}));
    EXPECT_EQ(Line({0, 0}, {-4, -1}), (Pixels{{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}}));
}

TEST(LineStepping, OnePixelPerStepNearestTheIdealLine) {
    std::srand(12345);
    for (int trial = 0; trial < 2000; ++trial) {
        const Point a{std::rand() % 81 - 40, std::rand() % 81 - 40};
        const Point b{std::rand() % 81 - 40, std::rand() % 81 - 40};
        std::vector<PixelRun> runs;
        AppendLinePixels(a, b, runs);
        const Pixels pixels = Expand(runs);
        const int dx = b.x - a.x, dy = b.y - a.y;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        ASSERT_EQ(static_cast<int>(pixels.size()), steps) << trial;
        if (steps == 0) continue;
        EXPECT_TRUE(pixels.count({a.x, a.y}));
        EXPECT_FALSE(pixels.count({b.x, b.y}));
        for (const auto& [x, y] : pixels) {
            // Distance along the minor axis from the ideal line, at most half a pixel.
            if (std::abs(dx) >= std::abs(dy)) {
                const double ideal = a.y + static_cast<double>(x - a.x) * dy / dx;
                ASSERT_LE(std::fabs(y - ideal), 0.5) << trial;
            } else {
                const double ideal = a.x + static_cast<double>(y - a.y) * dx / dy;
                ASSERT_LE(std::fabs(x - ideal), 0.5) << trial;
            }
        }
    }
}

Pixels Fill(std::vector<Point> polygon) {
    std::vector<PixelRun> runs;
    AppendPolygonFillPixels(polygon.data(), static_cast<int>(polygon.size()), runs);
    return Expand(runs);
}

TEST(PolygonFill, EdgesOnPixelsAreInsideOnTheLeftAndTopOnly) {
    EXPECT_EQ(Fill({{1, 1}, {3, 1}, {3, 3}, {1, 3}}), (Pixels{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
    // A slanted right edge through pixel centres leaves them out; a slanted left edge keeps them.
    EXPECT_EQ(Fill({{0, 0}, {3, 0}, {0, 3}}), (Pixels{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}));
    EXPECT_EQ(Fill({{3, 0}, {3, 3}, {0, 3}}), (Pixels{{2, 1}, {1, 2}, {2, 2}}));
    EXPECT_TRUE(Fill({{0, 0}, {5, 0}, {9, 0}}).empty());  // flat: no row is crossed
    EXPECT_TRUE(Fill({{2, 2}, {2, 8}}).empty());          // a line has no inside
}

TEST(PolygonFill, RowsCanBeLimitedToWhatShows) {
    const std::vector<Point> tall{{0, -1000000000}, {9, -1000000000}, {9, 1000000000}, {0, 1000000000}};
    std::vector<PixelRun> runs;
    AppendPolygonFillPixels(tall.data(), 4, runs, 2, 4);  // scans three rows, not two billion
    EXPECT_EQ(Expand(runs).size(), 27u);
    const std::vector<Point> kite{{5, 0}, {10, 5}, {5, 10}, {0, 5}};
    Pixels all = Fill(kite), some;
    runs.clear();
    AppendPolygonFillPixels(kite.data(), 4, runs, 3, 6);
    for (const auto& [x, y] : all)
        if (y >= 3 && y <= 6) some.insert({x, y});
    EXPECT_EQ(Expand(runs), some);
}

TEST(PolygonFill, AlternateRuleAndThinCrossings) {
    // The same square twice round: every row is crossed four times, nothing is inside.
    EXPECT_TRUE(Fill({{1, 1}, {5, 1}, {5, 5}, {1, 5}, {1, 1}, {5, 1}, {5, 5}, {1, 5}}).empty());
    // Where two edges cross a row within one pixel, GDI leaves that pixel out.
    const Pixels star = Fill({{161, 125}, {175, 72}, {158, 127}, {235, 112}, {151, 100}, {205, 89}});
    EXPECT_TRUE(star.count({166, 100}));
    EXPECT_FALSE(star.count({167, 100}));
    EXPECT_TRUE(star.count({168, 100}));
}

TEST(EllipsePixels, StayInsideTheBoxRightAndBottomExclusive) {
    for (const Rect box : {Rect{2, 2, 9, 9}, Rect{0, 0, 8, 5}, Rect{10, 20, 43, 46}, Rect{-5, -5, 6, 2}}) {
        std::vector<PixelRun> outline, interior;
        AppendEllipsePixels(box, outline, interior);
        const Pixels ring = Expand(outline);
        int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
        for (const auto& [x, y] : ring) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
            // Mirror symmetric within the box.
            EXPECT_TRUE(ring.count({box.left + box.right - 1 - x, y}));
            EXPECT_TRUE(ring.count({x, box.top + box.bottom - 1 - y}));
        }
        EXPECT_EQ(minX, box.left);
        EXPECT_EQ(maxX, box.right - 1);
        EXPECT_EQ(minY, box.top);
        EXPECT_EQ(maxY, box.bottom - 1);
        for (const auto& [x, y] : Expand(interior)) {
            EXPECT_GT(x, box.left);
            EXPECT_LT(x, box.right - 1);
        }
    }
}

TEST(EllipsePixels, OutlineIsConnectedAndEnclosesTheInterior) {
    std::vector<PixelRun> outline, interior;
    AppendEllipsePixels({0, 0, 25, 17}, outline, interior);
    const Pixels ring = Expand(outline);
    const Pixels inside = Expand(interior);
    // The interior never reaches the outline's own pixels on the box edge.
    EXPECT_FALSE(inside.count({0, 8}));
    // 8-connected: every outline pixel has an outline neighbour on each side of it.
    for (const auto& [x, y] : ring) {
        int neighbours = 0;
        for (int ddy = -1; ddy <= 1; ++ddy)
            for (int ddx = -1; ddx <= 1; ++ddx)
                if ((ddx || ddy) && ring.count({x + ddx, y + ddy})) ++neighbours;
        EXPECT_GE(neighbours, 2) << x << "," << y;
    }
    // The widest row and column touch the box edges at their centres.
    EXPECT_TRUE(ring.count({0, 8}));
    EXPECT_TRUE(ring.count({24, 8}));
    EXPECT_TRUE(ring.count({12, 0}));
    EXPECT_TRUE(ring.count({12, 16}));
}

TEST(EllipsePixels, OutlineAndInteriorLeaveNoHoleInAnyRow) {
    for (int w = 1; w <= 30; ++w) {
        for (int h = 1; h <= 30; ++h) {
            std::vector<PixelRun> outline, interior;
            AppendEllipsePixels({3, 5, 3 + w, 5 + h}, outline, interior);
            std::map<int, std::set<int>> rows;
            for (const auto& [x, y] : Expand(outline)) rows[y].insert(x);
            for (const auto& [x, y] : Expand(interior)) rows[y].insert(x);
            if (w == 1 && h == 1) {
                EXPECT_TRUE(rows.empty());
                continue;
            }
            // Narrow ellipses stop short of their tips, but never leave a row out.
            ASSERT_LE(static_cast<int>(rows.size()), h) << w << "x" << h;
            ASSERT_EQ(rows.rbegin()->first - rows.begin()->first + 1, static_cast<int>(rows.size()));
            for (const auto& [y, xs] : rows) {
                ASSERT_EQ(*xs.rbegin() - *xs.begin() + 1, static_cast<int>(xs.size())) << w << "x" << h << " row " << y;
            }
        }
    }
}

// Pictures of a box's pixels: 'O' outline, '#' interior, '.' untouched.
std::vector<std::string> Picture(Rect box, int ellipseWidth, int ellipseHeight, int columns, int rows) {
    std::vector<PixelRun> outline, interior;
    AppendEllipsePixels(box, ellipseWidth, ellipseHeight, outline, interior);
    std::vector<std::string> picture(rows, std::string(columns, '.'));
    for (const auto& [x, y] : Expand(interior)) picture.at(y).at(x) = '#';
    for (const auto& [x, y] : Expand(outline)) picture.at(y).at(x) = 'O';
    return picture;
}

// These pictures are what GDI (Wine's) draws for Ellipse with a one-pixel pen.
TEST(EllipsePixels, MatchGdiOnSmallBoxes) {
    EXPECT_EQ(Picture({2, 2, 14, 10}, 12, 8, 16, 12),
              (std::vector<std::string>{"................", "................", ".....OOOOOO.....",
                                        "....O######O....", "...O########O...", "..O##########O..",
                                        "..O##########O..", "...O########O...", "....O######O....",
                                        ".....OOOOOO.....", "................", "................"}));
    // Narrow: the curve stops before the tips.
    EXPECT_EQ(Picture({2, 2, 5, 13}, 3, 11, 7, 15),
              (std::vector<std::string>{".......", ".......", ".......", "...O...", "..O#O..", "..O#O..",
                                        "..O#O..", "..O#O..", "..O#O..", "..O#O..", "..O#O..", "...O...",
                                        ".......", ".......", "......."}));
    // Flat sides take two pixels where the curve turns.
    EXPECT_EQ(Picture({2, 2, 9, 7}, 7, 5, 11, 9),
              (std::vector<std::string>{"...........", "...........", "....OOO....", "..OO###OO..",
                                        "..O#####O..", "..OO###OO..", "....OOO....", "...........",
                                        "..........."}));
    // Two pixels or less across: the box's rectangle; 1 x 1 shows nothing.
    EXPECT_EQ(Picture({1, 1, 3, 4}, 2, 3, 4, 5),
              (std::vector<std::string>{"....", ".OO.", ".OO.", ".OO.", "...."}));
    EXPECT_EQ(Picture({1, 1, 2, 2}, 1, 1, 3, 3), (std::vector<std::string>{"...", "...", "..."}));
}

TEST(EllipsePixels, SmallerMappedSizeJoinsTheCornersWithStraightLines) {
    // 14 x 14 logical at 1920 x 1080 maps to a 19 x 16 box but a 19 x 15
    // ellipse: its halves are drawn in the box's top and bottom and joined.
    const auto picture = Picture({3, 2, 22, 18}, 19, 15, 25, 20);
    for (int row = 7; row <= 12; ++row) EXPECT_EQ(picture[row], "...O#################O...") << row;
    EXPECT_EQ(picture[6], "....O###############O....");
    EXPECT_EQ(picture[13], "....O###############O....");
    EXPECT_EQ(picture[2], ".........OOOOOOO.........");
    EXPECT_EQ(picture[17], ".........OOOOOOO.........");
    // Without the smaller size it is the plain ellipse of the box.
    EXPECT_EQ(Picture({3, 2, 22, 18}, 19, 16, 25, 20)[7], "....O###############O....");
}

TEST(EllipsePixels, ReversedBoxIsNormalisedAndEmptyBoxDrawsNothing) {
    std::vector<PixelRun> a, ai, b, bi;
    AppendEllipsePixels({2, 3, 12, 9}, a, ai);
    AppendEllipsePixels({12, 9, 2, 3}, b, bi);
    EXPECT_EQ(Expand(a), Expand(b));
    EXPECT_EQ(Expand(ai), Expand(bi));
    std::vector<PixelRun> c, ci;
    AppendEllipsePixels({5, 5, 5, 9}, c, ci);
    EXPECT_TRUE(c.empty());
    EXPECT_TRUE(ci.empty());
    // A one-pixel-wide box is a vertical line with no interior.
    AppendEllipsePixels({5, 5, 6, 9}, c, ci);
    EXPECT_EQ(Expand(c), (Pixels{{5, 5}, {5, 6}, {5, 7}, {5, 8}}));
    EXPECT_TRUE(ci.empty());
}

}  // namespace
}  // namespace tessaly
