#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/PortableGdiObjects.h"
#include "figures/Figure.h"
#include "device/PenBrushSet.h"

using namespace tessaly;

namespace {

// Records what a figure asks of its device, in order.
class RecordingDevice final : public DrawingDevice {
public:
    GdiHandle SelectObject(GdiHandle object) override {
        calls.push_back("select");
        GdiHandle old = selected;
        selected = object;
        return old;
    }
    void SetMapModeAnisotropic() override { calls.push_back("mapmode"); }
    void SetWindowExt(int, int) override { calls.push_back("windowext"); }
    void SetViewportExt(int, int) override { calls.push_back("viewportext"); }
    void SetViewportOrg(int, int) override { calls.push_back("viewportorg"); }
    bool Polygon(const Point* p, int count) override {
        calls.push_back("polygon");
        points.assign(p, p + count);
        return true;
    }
    bool Polyline(const Point* p, int count) override {
        calls.push_back("polyline");
        points.assign(p, p + count);
        return true;
    }
    bool Ellipse(int l, int t, int r, int b) override {
        calls.push_back("ellipse");
        ellipse = Rect{l, t, r, b};
        return true;
    }

    GdiHandle selected = nullptr;
    std::vector<std::string> calls;
    std::vector<Point> points;
    Rect ellipse{};
};

// A brush set whose seven slots hold seven distinct brushes.
class FigureDraw : public ::testing::Test {
protected:
    void SetUp() override {
        CBrush* slots[] = {&brushes.stemLeafBrush, &brushes.fallLeafBrush, &brushes.discBrush,
                           &brushes.petalBrush0,   &brushes.petalBrush1,   &brushes.petalBrush2,
                           &brushes.snowflakeBrush};
        for (uint32_t i = 0; i < 7; ++i) ASSERT_TRUE(ReplaceSolidBrush(*slots[i], Rgb(i, 0, 0)));
    }
    // The slot number of the brush last selected, or -1.
    int SelectedSlot() const {
        const auto* record = PortableGdiObjects::Record(dc.selected);
        return record ? static_cast<int>(RedOf(record->colour)) : -1;
    }
    template <class Kind>
    void FillThree(Kind& f) {
        f.points[0] = {1, 2};
        f.points[1] = {3, 4};
        f.points[2] = {5, 6};
        f.pointCount = 3;
    }

    PortableGdiObjects objects;
    PenBrushSet brushes{objects};
    RecordingDevice dc;
};

}  // namespace

TEST(Figure, ConstructionSetsCapacityCountAndIndex) {
    std::unique_ptr<Figure> kinds[] = {
        std::make_unique<SnowflakeFigure>(), std::make_unique<PolylineFigure>(),
        std::make_unique<StemLeafFigure>(),  std::make_unique<FallLeafFigure>(),
        std::make_unique<PetalFigure>(),     std::make_unique<DiscFigure>(),
    };
    for (int i = 0; i < 6; ++i) {
        Figure& f = *kinds[i];
        EXPECT_EQ(f.pointCount, 0);
        EXPECT_EQ(f.colourIndex, 0);
        ASSERT_NE(f.points.get(), nullptr);
        f.points[kFigurePointCapacity - 1] = {7, 8};  // the whole capacity is writable
    }
}

TEST_F(FigureDraw, EachPolygonKindSelectsItsOwnSlot) {
    StemLeafFigure leaf;
    FallLeafFigure fall;
    SnowflakeFigure flake;
    FillThree(leaf);
    FillThree(fall);
    FillThree(flake);

    leaf.Draw(dc, brushes);
    EXPECT_EQ(SelectedSlot(), 0);
    fall.Draw(dc, brushes);
    EXPECT_EQ(SelectedSlot(), 1);
    flake.Draw(dc, brushes);
    EXPECT_EQ(SelectedSlot(), 6);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"select", "polygon", "select", "polygon", "select",
                                                  "polygon"}));
    EXPECT_EQ(dc.points, (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}}));
}

TEST_F(FigureDraw, PetalSlotFollowsColourIndexWithEveryOtherIndexOnSlotFive) {
    PetalFigure petal;
    FillThree(petal);
    const int expected[][2] = {{0, 3}, {1, 4}, {2, 5}, {7, 5}, {-1, 5}};
    for (const auto& e : expected) {
        petal.colourIndex = e[0];
        petal.Draw(dc, brushes);
        EXPECT_EQ(SelectedSlot(), e[1]) << "colourIndex " << e[0];
    }
}

TEST_F(FigureDraw, PolylineSelectsNothingAndLeavesThePreviousBrush) {
    PetalFigure petal;
    PolylineFigure stem;
    FillThree(petal);
    FillThree(stem);
    petal.Draw(dc, brushes);
    dc.calls.clear();
    stem.Draw(dc, brushes);
    EXPECT_EQ(dc.calls, std::vector<std::string>{"polyline"});
    EXPECT_EQ(SelectedSlot(), 3);
    EXPECT_EQ(dc.points.size(), 3u);
}

TEST_F(FigureDraw, DiscDrawsItsBoundsWithTheDiscBrush) {
    DiscFigure disc;
    disc.SetCircle(500, 300, 12);
    disc.Draw(dc, brushes);
    EXPECT_EQ(SelectedSlot(), 2);
    EXPECT_EQ(dc.calls, (std::vector<std::string>{"select", "ellipse"}));
    EXPECT_EQ(dc.ellipse, (Rect{488, 288, 512, 312}));
}

TEST(DiscFigure, SettersKeepBoundsAroundCentre) {
    DiscFigure disc;
    disc.SetCircle(500, 300, 12);
    EXPECT_EQ(disc.bounds, (Rect{488, 288, 512, 312}));
    EXPECT_EQ(disc.centre, (Point{500, 300}));
    EXPECT_EQ(disc.radius, 12);
    disc.SetCircle(Point{10, 20}, 5);
    EXPECT_EQ(disc.bounds, (Rect{5, 15, 15, 25}));

    const DiscFigure fromPoint(Point{-3, 4}, 2);
    const DiscFigure fromInts(-3, 4, 2);
    EXPECT_EQ(fromPoint.bounds, (Rect{-5, 2, -1, 6}));
    EXPECT_EQ(fromInts.bounds, fromPoint.bounds);
}
