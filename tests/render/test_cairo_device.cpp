// The Cairo device against GDI's pixels: fill coverage, outline stepping,
// Ellipse bounds, mapping, pen and brush selection, smooth drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "ImageProbe.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {
namespace {

constexpr ColourRef kBlack = Rgb(0, 0, 0);
constexpr ColourRef kPen = Rgb(0, 255, 0);
constexpr ColourRef kBrush = Rgb(200, 30, 10);

class CairoDeviceTest : public ::testing::Test {
protected:
    void Open(int w, int h, CairoStyle style = CairoStyle::GdiPixels) {
        image = CreateFilledImage(w, h, kBlack);
        cr.reset(cairo_create(image.get()));
        device = std::make_unique<CairoDevice>(cr.get(), style);
        device->SelectObject(&pen);
        device->SelectObject(&brush);
    }
    ColourRef At(int x, int y) { return PixelAt(image.get(), x, y); }
    // The pen and the brush the device holds: a square over the whole image
    // (of at least 3x3) is outlined with the one and filled with the other.
    std::pair<ColourRef, ColourRef> PenAndBrush() {
        const Point square[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
        device->Polygon(square, 4);
        return {At(0, 0), At(1, 1)};
    }
    int Count(ColourRef c) { return CountColour(image.get(), c); }
    // Left, top, right and bottom (inclusive) of what was drawn in [x0, x1) x [y0, y1).
    std::array<int, 4> DrawnBounds(int x0, int y0, int x1, int y1) {
        std::array<int, 4> box{x1, y1, x0 - 1, y0 - 1};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (At(x, y) == kBlack) continue;
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
            }
        }
        return box;
    }

    GdiObjectRecord pen{GdiObjectRecord::Kind::Pen, kPen, false};
    GdiObjectRecord brush{GdiObjectRecord::Kind::Brush, kBrush, false};
    CairoSurface image;
    CairoContext cr;
    std::unique_ptr<CairoDevice> device;
};

TEST_F(CairoDeviceTest, FillCountsLeftAndTopEdgesInsideRightAndBottomOutside) {
    Open(12, 12);
    const Point rect[] = {{2, 2}, {6, 2}, {6, 5}, {2, 5}};
    device->FillDevicePolygon(rect, 4, kBrush);
    EXPECT_EQ(Count(kBrush), 4 * 3);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(At(x, y) == kBrush, x >= 2 && x < 6 && y >= 2 && y < 5) << x << "," << y;
}

TEST_F(CairoDeviceTest, TrianglesSharingADiagonalTileTheSquareExactly) {
    Open(10, 10);
    const Point lower[] = {{0, 0}, {8, 0}, {0, 8}};  // the diagonal is a right/bottom edge
    device->FillDevicePolygon(lower, 3, kBrush);
    EXPECT_EQ(Count(kBrush), 36);  // x + y < 8
    EXPECT_EQ(At(0, 7), kBrush);
    EXPECT_EQ(At(1, 7), kBlack);
    const Point upper[] = {{8, 0}, {8, 8}, {0, 8}};  // here it is a left/top edge
    device->FillDevicePolygon(upper, 3, kPen);
    EXPECT_EQ(Count(kPen), 28);
    EXPECT_EQ(Count(kBrush) + Count(kPen), 64);  // no gap, no overlap
    EXPECT_EQ(At(8, 0), kBlack);
}

TEST_F(CairoDeviceTest, FillUsesTheAlternateRule) {
    Open(8, 8);
    // The same square traced twice: winding 2 everywhere, so ALTERNATE leaves it empty.
    const Point twice[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}, {1, 1}, {5, 1}, {5, 5}, {1, 5}};
    device->FillDevicePolygon(twice, 8, kBrush);
    EXPECT_EQ(Count(kBrush), 0);
}

TEST_F(CairoDeviceTest, PolygonOutlineClosesTheFigureOnTopOfTheFill) {
    Open(10, 10);
    const Point rect[] = {{2, 2}, {6, 2}, {6, 5}, {2, 5}};
    EXPECT_TRUE(device->Polygon(rect, 4));
    // The outline runs on the vertices' pixels: columns 2 and 6, rows 2 and 5.
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool ring = (x == 2 || x == 6) && y >= 2 && y <= 5 ? true
                              : (y == 2 || y == 5) && x >= 2 && x <= 6;
            const bool inside = x > 2 && x < 6 && y > 2 && y < 5;
            const ColourRef expected = ring ? kPen : inside ? kBrush : kBlack;
            EXPECT_EQ(At(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_FALSE(device->Polygon(rect, 1));
}

TEST_F(CairoDeviceTest, PolylineLeavesOutItsLastPointAndFillsNothing) {
    Open(10, 10);
    const Point line[] = {{1, 1}, {5, 1}, {5, 4}};
    EXPECT_TRUE(device->Polyline(line, 3));
    EXPECT_EQ(Count(kPen), 4 + 3);
    EXPECT_EQ(At(5, 1), kPen);   // the corner is the second segment's start
    EXPECT_EQ(At(5, 4), kBlack); // the end point stays out
    EXPECT_EQ(Count(kBrush), 0);
    EXPECT_FALSE(device->Polyline(line, 1));
}

TEST_F(CairoDeviceTest, EllipseKeepsInsideItsBoxWithFilledInterior) {
    Open(16, 16);
    EXPECT_TRUE(device->Ellipse(2, 3, 13, 10));
    EXPECT_EQ(DrawnBounds(0, 0, 16, 16), (std::array<int, 4>{2, 3, 12, 9}));  // right and bottom exclusive
    EXPECT_EQ(At(7, 6), kBrush);  // centre
    EXPECT_EQ(At(2, 6), kPen);    // middle of the left side
    EXPECT_EQ(At(12, 6), kPen);
}

TEST_F(CairoDeviceTest, MappingAppliesOnlyInAnisotropicMode) {
    Open(1920, 1080);
    device->SetWindowExt(1400, 1000);  // ignored in MM_TEXT
    device->SetViewportExt(1920, 1080);
    EXPECT_EQ(device->ToDevice({700, 500}), (Point{700, 500}));
    device->SetMapModeAnisotropic();
    device->SetWindowExt(1400, 1000);
    device->SetViewportExt(1920, 1080);
    device->SetViewportOrg(0, 0);
    EXPECT_EQ(device->ToDevice({700, 500}), (Point{960, 540}));
    EXPECT_EQ(device->ToDevice({1400, 1000}), (Point{1920, 1080}));
    device->SetWindowExt(0, 5);  // refused, as GDI refuses a zero extent
    EXPECT_EQ(device->ToDevice({700, 500}), (Point{960, 540}));

    // A disc with bounds (488, 288, 512, 312) covers device columns 669..701, rows 311..336.
    EXPECT_TRUE(device->Ellipse(488, 288, 512, 312));
    EXPECT_EQ(DrawnBounds(640, 280, 740, 360), (std::array<int, 4>{669, 311, 701, 336}));

    device->ResetPaintState();
    EXPECT_EQ(device->ToDevice({700, 500}), (Point{700, 500}));
}

TEST_F(CairoDeviceTest, SelectKeepsPenAndBrushApartAndReturnsThePrevious) {
    Open(4, 4);
    GdiObjectRecord other{GdiObjectRecord::Kind::Brush, Rgb(1, 2, 3), false};
    EXPECT_EQ(device->SelectObject(&other), &brush);
    EXPECT_EQ(PenAndBrush(), std::make_pair(kPen, Rgb(1, 2, 3)));
    EXPECT_EQ(device->SelectObject(nullptr), nullptr);  // refused, nothing changes
    EXPECT_EQ(PenAndBrush(), std::make_pair(kPen, Rgb(1, 2, 3)));

    // A fresh paint context holds GDI's default black pen and white brush.
    device->ResetPaintState();
    EXPECT_EQ(PenAndBrush(), std::make_pair(Rgb(0, 0, 0), Rgb(255, 255, 255)));
}

TEST_F(CairoDeviceTest, ColoursArriveWithRedInTheLowByteOfTheColourRef) {
    Open(10, 10);
    GdiObjectRecord odd{GdiObjectRecord::Kind::Brush, Rgb(10, 200, 30), false};
    device->SelectObject(&odd);
    const Point rect[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}};
    device->Polygon(rect, 4);
    EXPECT_EQ(At(4, 4), Rgb(10, 200, 30));
}

TEST_F(CairoDeviceTest, BrushesFromPortableObjectsFillWithTheirColour) {
    Open(10, 10);
    PortableGdiObjects objects;
    GdiHandle made = objects.CreateSolidBrush(Rgb(90, 80, 70));
    device->SelectObject(made);
    device->SelectObject(objects.GetStockObject(kStockWhitePen));
    const Point tri[] = {{0, 0}, {9, 0}, {0, 9}};
    device->Polygon(tri, 3);
    EXPECT_EQ(At(2, 2), Rgb(90, 80, 70));
    EXPECT_EQ(At(0, 0), Rgb(255, 255, 255));
    // The device keeps the colour, so deleting a selected brush is harmless.
    objects.DeleteObject(made);
    device->Polygon(tri, 3);
    EXPECT_EQ(At(2, 2), Rgb(90, 80, 70));
}

// Drawing into image memory directly and through Cairo's own rectangles
// (any other surface, e.g. an X11 pixmap) must give the same pixels.
TEST(CairoDeviceTargets, ImageMemoryAndCairoRectanglesAgree) {
    GdiObjectRecord pen{GdiObjectRecord::Kind::Pen, Rgb(255, 255, 255), true};
    GdiObjectRecord brushA{GdiObjectRecord::Kind::Brush, Rgb(200, 30, 10), false};
    GdiObjectRecord brushB{GdiObjectRecord::Kind::Brush, Rgb(20, 130, 210), false};
    auto draw = [&](cairo_t* cr) {
        CairoDevice device(cr);
        device.SetMapModeAnisotropic();
        device.SetWindowExt(1400, 1000);
        device.SetViewportExt(320, 200);
        device.SelectObject(&pen);
        device.SelectObject(&brushA);
        const Point star[] = {{100, 100}, {600, 900}, {1100, 80}, {50, 600}, {1300, 650}};
        device.Polygon(star, 5);
        device.SelectObject(&brushB);
        device.Ellipse(700, 200, 1350, 990);
        device.Ellipse(-50, -50, 90, 90);  // partly off the image
        const Point stem[] = {{10, 990}, {300, 500}, {320, 20}, {1500, -30}};
        device.Polyline(stem, 4);
    };
    CairoSurface direct = CreateFilledImage(320, 200, Rgb(0, 0, 0));
    {
        CairoContext cr(cairo_create(direct.get()));
        draw(cr.get());
    }
    cairo_rectangle_t extents{0, 0, 320, 200};
    CairoSurface recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR, &extents));
    {
        CairoContext cr(cairo_create(recording.get()));
        PaintColour(cr.get(), Rgb(0, 0, 0));
        draw(cr.get());
    }
    CairoSurface replayed = CreateFilledImage(320, 200, Rgb(0, 0, 0));
    {
        CairoContext cr(cairo_create(replayed.get()));
        PaintImage(cr.get(), recording.get());
    }
    int differences = 0, painted = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            if (PixelAt(direct.get(), x, y) != PixelAt(replayed.get(), x, y)) ++differences;
            if (PixelAt(direct.get(), x, y) != Rgb(0, 0, 0)) ++painted;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(painted, 10000);
}

TEST_F(CairoDeviceTest, SmoothStyleBlendsEdgesButKeepsSolidInteriors) {
    Open(20, 20, CairoStyle::Smooth);
    const Point tri[] = {{1, 1}, {18, 2}, {3, 17}};
    device->Polygon(tri, 3);
    EXPECT_EQ(At(6, 6), kBrush);
    int blended = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const ColourRef c = At(x, y);
            if (c != kBlack && c != kBrush && c != kPen) ++blended;
        }
    EXPECT_GT(blended, 10);
    device->Ellipse(5, 5, 6, 9);  // a one-pixel-wide box must not break the context
    EXPECT_EQ(cairo_status(cr.get()), CAIRO_STATUS_SUCCESS);
}

}  // namespace
}  // namespace tessaly
