// The headless host on its virtual clock, and the real canvas run against it.
#include <gtest/gtest.h>

#include <sstream>

#include "HeadlessHost.h"
#include "SvgDevice.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "random/Random.h"
#include "settings/Settings.h"

namespace tessaly {
namespace {

class SettingsGuard {
public:
    SettingsGuard() : cycle_(cycleLengthSetting), speed_(speedSetting), build_(buildSetting) {}
    ~SettingsGuard() {
        cycleLengthSetting = cycle_;
        speedSetting = speed_;
        buildSetting = build_;
    }

private:
    int32_t cycle_, speed_, build_;
};

TEST(HeadlessHost, ClockFollowsTimerOneAndItsRestarts) {
    HeadlessHost host(320, 200);
    EXPECT_EQ(host.GetClientRect(), (Rect{0, 0, 320, 200}));
    uint64_t now = 0;
    EXPECT_FALSE(host.AdvanceToNextTick(now));
    host.SetTimer(2, 10);  // not the canvas's timer
    EXPECT_FALSE(host.TimerRunning());
    host.SetTimer(1, 205);
    EXPECT_TRUE(host.AdvanceToNextTick(now));
    EXPECT_EQ(now, 205u);
    EXPECT_TRUE(host.AdvanceToNextTick(now));
    EXPECT_EQ(now, 410u);
    host.SetTimer(1, 5);  // restart with a new period, counted from now
    EXPECT_TRUE(host.AdvanceToNextTick(now));
    EXPECT_EQ(now, 415u);
    host.KillTimer(1);
    EXPECT_FALSE(host.AdvanceToNextTick(now));
}

TEST(HeadlessHost, InvalidationWaitsForThePaint) {
    HeadlessHost host(10, 10);
    int paints = 0;
    host.SetPaintHandler([&] { ++paints; });
    host.UpdateWindow();  // nothing invalid: no paint
    EXPECT_EQ(paints, 0);
    host.InvalidateRect(false);
    EXPECT_TRUE(host.Invalid());
    EXPECT_FALSE(host.EraseRequested());
    host.InvalidateRect(true);
    EXPECT_TRUE(host.EraseRequested());
    host.UpdateWindow();
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(host.Invalid());
    EXPECT_FALSE(host.EraseRequested());
    host.PostClose();
    EXPECT_TRUE(host.ClosePosted());
}

// The canvas on the host, painting into SVG: each tick is timer 1 and its paint.
struct CanvasRun {
    explicit CanvasRun(int build) : host(1400, 1000), canvas(0, objects), svg(out, 1400, 1000) {
        buildSetting = build;
        cycleLengthSetting = 5;
        speedSetting = 60;
        SeedRandom(7);
        canvas.AttachHost(&host);
        host.SetPaintHandler([this] {
            svg.ResetPaintState();
            canvas.OnPaint(svg);
            ++paints;
        });
        canvas.OnCreate();
    }
    ~CanvasRun() {
        canvas.PostNcDestroy();
        canvas.AttachHost(nullptr);
    }
    SettingsGuard guard;
    PortableGdiObjects objects;
    HeadlessHost host;
    CanvasWindow canvas;
    std::ostringstream out;
    SvgDevice svg;
    int paints = 0;
};

TEST(HeadlessCanvas, EveryTickBuildsAndPaintsAWholeScene) {
    CanvasRun run(0);
    EXPECT_EQ(run.host.TimerPeriod(), 205u);  // speed 60
    ASSERT_TRUE(run.host.Tick(run.canvas));
    EXPECT_EQ(run.paints, 1);
    EXPECT_EQ(run.canvas.SceneCounter(), 1);
    EXPECT_EQ(run.canvas.CurrentScene().figures.Size(), 0);
    const std::size_t first = run.svg.ElementCount();
    EXPECT_GT(first, 0u);
    ASSERT_TRUE(run.host.Tick(run.canvas));
    EXPECT_EQ(run.canvas.SceneCounter(), 2);
    EXPECT_GT(run.svg.ElementCount(), first);
    EXPECT_EQ(run.host.NowMs(), 410u);
}

TEST(HeadlessCanvas, StepByStepBuildPaintsOneFigurePerTick) {
    CanvasRun run(1);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(run.host.Tick(run.canvas));
    EXPECT_EQ(run.paints, 5);
    EXPECT_EQ(run.svg.ElementCount(), 5u);
    EXPECT_EQ(run.canvas.SceneCounter(), 1);
}

TEST(HeadlessCanvas, TeardownReleasesEveryBrush) {
    SettingsGuard guard;
    PortableGdiObjects objects;
    {
        buildSetting = 1;
        HeadlessHost host(200, 100);
        CanvasWindow canvas(0, objects);
        std::ostringstream out;
        SvgDevice svg(out, 200, 100);
        canvas.AttachHost(&host);
        host.SetPaintHandler([&] { canvas.OnPaint(svg); });
        canvas.OnCreate();
        for (int i = 0; i < 3; ++i) host.Tick(canvas);
        EXPECT_GT(objects.LiveBrushes(), 0u);
        canvas.PostNcDestroy();  // drains the queue and deletes the scene
    }
    EXPECT_EQ(objects.LiveBrushes(), 0u);  // the canvas's holders deleted the rest
}

}  // namespace
}  // namespace tessaly
