// A long run of the real canvas painting with real GDI into a memory bitmap:
// every brush it creates is deleted, each deletion succeeds (none is still
// selected in the context), and teardown leaves nothing alive.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "support/Fakes.h"
#include "headless/HeadlessHost.h"
#include "canvas/CanvasWindow.h"
#include "win32/gdi/Win32DrawingDevice.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "random/Random.h"
#include "settings/Settings.h"

namespace tessaly::win32 {
namespace {

// Real GDI objects, counted.
using CountingGdiObjects = tessaly::testing::RecordingObjects<Win32GdiObjects>;

TEST(CanvasSoak, ThousandsOfPaintsLeaveNoBrushBehind) {
    constexpr int kWidth = 320, kHeight = 240;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(GetDC(nullptr), kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

    CountingGdiObjects objects;
    GardenState state;
    state.cycleLengthSetting = 1;  // pass through every kind of scene quickly
    state.random.Seed(20261207);
    size_t mostAlive = 0;
    {
        // One context for every paint, as a window's own DC would be: only
        // the device puts back what the figures selected.
        HeadlessRun run(state, objects, Size{kWidth, kHeight}, [&](CanvasWindow& canvas) {
            Win32DrawingDevice device(dc);
            canvas.OnPaint(device);
        });
        for (int tick = 0; tick < 3000; ++tick) {
            run.Tick();
            if (objects.live.size() > mostAlive) mostAlive = objects.live.size();
        }
        EXPECT_GT(objects.Created().size(), 3000u) << "scenes were painted";
        EXPECT_LE(mostAlive, 7u) << "never more brushes than the seven slots";
    }
    EXPECT_TRUE(objects.live.empty()) << objects.live.size() << " brushes left alive";
    EXPECT_EQ(objects.failedDeletes, 0) << "a brush could not be deleted";
    for (GdiHandle brush : objects.everDeleted) {
        ASSERT_EQ(GetObjectType(static_cast<HGDIOBJ>(brush)), 0u) << "a deleted brush is still a GDI object";
    }

    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
}  // namespace tessaly::win32
