#include <gtest/gtest.h>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "cairo/DamageRecorder.h"
#include "x11/Monitors.h"
#include "device/PortableGdiObjects.h"

using namespace tessaly;

TEST(Damage, RectsAreClippedAndBounded) {
    const std::vector<Rect> rects{{-5, -5, 10, 10}, {90, 40, 120, 60}, {200, 200, 210, 210}, {5, 5, 5, 9}};
    const std::vector<Rect> clipped = ClipRects(rects, 100, 50);
    ASSERT_EQ(clipped.size(), 2u);
    EXPECT_EQ(clipped[0], (Rect{0, 0, 10, 10}));
    EXPECT_EQ(clipped[1], (Rect{90, 40, 100, 50}));
    EXPECT_EQ(BoundingRect(clipped), (Rect{0, 0, 100, 50}));
    EXPECT_EQ(BoundingRect({}), Rect{});
}

// Monitors are clipped to the screen; mirrored and empty ones go; none at all is the whole screen.
TEST(Damage, MonitorsAreClippedWithoutRepeatsOrTheWholeScreen) {
    const std::vector<Rect> odd{{0, 0, 1280, 800}, {0, 0, 1280, 800}, {5, 5, 5, 9}, {1000, -10, 2400, 700}};
    EXPECT_EQ(ChooseMonitors({}, odd, 2304, 800), (std::vector<Rect>{{0, 0, 1280, 800}, {1000, 0, 2304, 700}}));
    EXPECT_EQ(ChooseMonitors({}, {}, 2304, 800), (std::vector<Rect>{{0, 0, 2304, 800}}));
}

// Everything the device paints lies inside the rectangles the recorder reports.
TEST(Damage, CoversEveryPaintedPixelThroughTheMapping) {
    constexpr int kWidth = 350, kHeight = 250;
    CairoSurface image = CreateFilledImage(kWidth, kHeight, Rgb(0, 0, 0));
    CairoContext cr(cairo_create(image.get()));
    PortableGdiObjects objects;
    CairoDevice device(cr.get());
    DamageRecorder recorder(device);
    recorder.SetMapModeAnisotropic();
    recorder.SetWindowExt(1400, 1000);
    recorder.SetViewportExt(kWidth, kHeight);
    recorder.SetViewportOrg(0, 0);
    const GdiHandle brush = objects.CreateSolidBrush(Rgb(255, 0, 0));
    recorder.SelectObject(brush);
    recorder.SelectObject(objects.GetStockObject(kStockWhitePen));

    const Point triangle[] = {{100, 100}, {500, 140}, {300, 420}};
    recorder.Polygon(triangle, 3);
    const Point stem[] = {{1000, 900}, {1010, 500}, {1200, 300}};
    recorder.Polyline(stem, 3);
    recorder.Ellipse(1300, 40, 1240, 110);  // a reversed box too
    ASSERT_EQ(recorder.Damage().size(), 3u);
    EXPECT_EQ(recorder.Damage()[0], (Rect{24, 24, 127, 107}));
    cairo_surface_flush(image.get());

    const unsigned char* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    int painted = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x) & 0xFFFFFF;
            if (pixel == 0) continue;
            ++painted;
            bool inside = false;
            for (const Rect& r : recorder.Damage())
                inside = inside || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            EXPECT_TRUE(inside) << x << "," << y;
        }
    }
    EXPECT_GT(painted, 500);
    objects.DeleteObject(brush);
}
