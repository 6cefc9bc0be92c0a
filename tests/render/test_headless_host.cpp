// The headless host and its ticks, and the real canvas run against it.
#include <gtest/gtest.h>

#include <sstream>

#include "headless/HeadlessHost.h"
#include "support/Fakes.h"
#include "svg/SvgDevice.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "scene/BasalLeafFlowerScene.h"
#include "settings/Settings.h"

namespace tessaly {
namespace {

TEST(HeadlessHost, TicksOnlyWhileTickingAndPaintsWhatWasAskedFor) {
    HeadlessHost host(320, 200);
    EXPECT_EQ(host.ClientSize(), (Size{320, 200}));
    int paints = 0;
    host.SetPaintHandler([&] { ++paints; });
    GardenState state;
    PortableGdiObjects objects;
    CanvasWindow canvas(state, objects);  // on no host: its ticks ask for nothing
    host.RequestPaint();
    EXPECT_FALSE(host.Tick(canvas));
    EXPECT_EQ(paints, 0) << "a request waits for a paint";
    host.StartTicking(205);
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(paints, 1) << "the tick's paint meets the request";
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(paints, 1) << "nothing asked for since";
    host.RequestPaint();
    host.Paint();
    EXPECT_TRUE(host.Tick(canvas));
    EXPECT_EQ(paints, 2) << "Paint met the request";
    host.RepaintNow();
    EXPECT_EQ(paints, 3);
    host.StopTicking();
    EXPECT_FALSE(host.Tick(canvas));
}

// The figures an SVG holds, one element each.
std::size_t Elements(const std::string& svg) {
    std::size_t n = 0;
    for (const char* tag : {"<polygon ", "<polyline ", "<ellipse "})
        for (std::size_t at = svg.find(tag); at != std::string::npos; at = svg.find(tag, at + 1)) ++n;
    return n;
}

// The canvas on the host, painting into SVG: each tick is the canvas's tick
// and its paint. `twin` grows the same scenes from the same seed, one by one.
struct CanvasRun {
    explicit CanvasRun(int build) : svg(out, 1400, 1000) {
        for (GardenState* garden : {&state, &twin}) {
            LoadDefaults(*garden);
            garden->random.Seed(7);
        }
        state.buildSetting = build;
    }
    uint32_t TwinScene() { return BasalLeafFlowerScene(twin).figures.Size(); }
    GardenState state, twin;
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
    const uint32_t first = r.TwinScene();
    ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(r.paints, 1);
    EXPECT_EQ(Elements(r.out.str()), first) << "the first scene, whole";
    ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(Elements(r.out.str()), first + r.TwinScene()) << "and the second";
    EXPECT_EQ(r.state.random.Rand(), r.twin.random.Rand()) << "two scenes built, no more";
}

TEST(HeadlessCanvas, StepByStepBuildPaintsOneFigurePerTick) {
    CanvasRun r(1);
    ASSERT_GT(r.TwinScene(), 5u);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(r.run.Tick());
    EXPECT_EQ(r.paints, 5);
    EXPECT_EQ(Elements(r.out.str()), 5u);
    EXPECT_EQ(r.state.random.Rand(), r.twin.random.Rand()) << "one scene built, its figures painted one by one";
}

TEST(HeadlessCanvas, TeardownReleasesEveryBrush) {
    GardenState state, twin;
    state.buildSetting = 1;
    ASSERT_GT(BasalLeafFlowerScene(twin).figures.Size(), 3u) << "three ticks leave figures queued";
    testing::RecordingObjects<PortableGdiObjects> objects;
    std::ostringstream out;
    SvgDevice svg(out, 200, 100);
    {
        HeadlessRun run(state, objects, Size{200, 100}, [&](CanvasWindow& canvas) { canvas.OnPaint(svg); });
        run.Ticks(3);
        EXPECT_FALSE(objects.live.empty());
    }  // the window goes: the queue is drained, the scene and the canvas deleted
    EXPECT_TRUE(objects.live.empty());
}

}  // namespace
}  // namespace tessaly
