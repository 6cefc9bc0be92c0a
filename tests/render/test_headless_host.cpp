// The headless host on its virtual clock, and the real canvas run against it.
#include <gtest/gtest.h>

#include <sstream>

#include "headless/HeadlessHost.h"
#include "svg/SvgDevice.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "settings/Settings.h"

namespace tessaly {
namespace {

TEST(HeadlessHost, ClockFollowsTheTicksAndTheirRestarts) {
    HeadlessHost host(320, 200);
    EXPECT_EQ(host.ClientSize(), (Size{320, 200}));
    GardenState state;
    PortableGdiObjects objects;
    CanvasWindow canvas(state, objects);  // on no host: its ticks ask for nothing
    EXPECT_FALSE(host.Tick(canvas));
    host.StartTicking(205);
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(host.NowMs(), 205u);
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(host.NowMs(), 410u);
    host.StartTicking(5);  // restart with a new period, counted from now
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(host.NowMs(), 415u);
    host.StopTicking();
    EXPECT_FALSE(host.Tick(canvas));
    EXPECT_EQ(host.NowMs(), 415u);
}

TEST(HeadlessHost, APaintRequestWaitsForThePaintAndRepaintNowPaintsAtOnce) {
    HeadlessHost host(10, 10);
    int paints = 0;
    host.SetPaintHandler([&] { ++paints; });
    host.RequestPaint();
    EXPECT_TRUE(host.PaintRequested());
    EXPECT_EQ(paints, 0);
    host.Paint();
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(host.PaintRequested());
    host.RepaintNow();
    EXPECT_EQ(paints, 2);
}

// The canvas on the host, painting into SVG: each tick is the canvas's tick and its paint.
struct CanvasRun {
    explicit CanvasRun(int build) : svg(out, 1400, 1000) {
        LoadDefaults(state);
        state.buildSetting = build;
        state.random.Seed(7);
    }
    GardenState state;
    PortableGdiObjects objects;
    std::ostringstream out;
    SvgDevice svg;
    int paints = 0;
    HeadlessRun run{state, objects, Size{1400, 1000}, [this](CanvasWindow& canvas) {
                        svg.ResetPaintState();
                        canvas.OnPaint(svg);
                        ++paints;
                    }};
};

TEST(HeadlessCanvas, EveryTickBuildsAndPaintsAWholeScene) {
    CanvasRun r(0);
    EXPECT_EQ(r.run.Host().TickPeriod(), 205u);  // speed 60
    ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(r.paints, 1);
    EXPECT_EQ(r.run.Canvas().SceneCounter(), 1);
    EXPECT_EQ(r.run.Canvas().CurrentScene().figures.Size(), 0u);
    const std::size_t first = r.svg.ElementCount();
    EXPECT_GT(first, 0u);
    ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(r.run.Canvas().SceneCounter(), 2);
    EXPECT_GT(r.svg.ElementCount(), first);
    EXPECT_EQ(r.run.Host().NowMs(), 410u);
}

TEST(HeadlessCanvas, StepByStepBuildPaintsOneFigurePerTick) {
    CanvasRun r(1);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(r.paints, 5);
    EXPECT_EQ(r.svg.ElementCount(), 5u);
    EXPECT_EQ(r.run.Canvas().SceneCounter(), 1);
}

TEST(HeadlessCanvas, TeardownReleasesEveryBrush) {
    GardenState state;
    state.buildSetting = 1;
    PortableGdiObjects objects;
    std::ostringstream out;
    SvgDevice svg(out, 200, 100);
    {
        HeadlessRun run(state, objects, Size{200, 100}, [&](CanvasWindow& canvas) { canvas.OnPaint(svg); });
        run.Ticks(3);
        EXPECT_GT(objects.LiveBrushes(), 0u);
        EXPECT_GT(run.Canvas().CurrentScene().figures.Size(), 0u);
    }  // the window goes: the queue is drained, the scene and the canvas deleted
    EXPECT_EQ(objects.LiveBrushes(), 0u);
}

}  // namespace
}  // namespace tessaly
