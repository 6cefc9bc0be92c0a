// The canvas without a platform: timer, scene cycle, paint loop, settings
// calls and teardown, against a recording host and device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/Fakes.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "figures/Figure.h"
#include "scene/BasalLeafFlowerScene.h"
#include "scene/BroadLeafFlowerScene.h"
#include "scene/FallLeavesScene.h"
#include "scene/FlowerHeadScene.h"
#include "scene/NarrowLeafFlowerScene.h"
#include "scene/SceneCycle.h"
#include "settings/Settings.h"

namespace tessaly {
namespace {

using testing::FakeHost;
using testing::RecordingDevice;

std::vector<std::string>* deathLog = nullptr;  // who was deleted, in order

// A polygon that logs its deletion; its point count tells it apart when drawn.
class LoggedFigure : public Figure {
public:
    explicit LoggedFigure(int id) : id_(id) { pointCount = id; }
    ~LoggedFigure() override {
        if (deathLog) deathLog->push_back("figure " + std::to_string(id_));
    }
    bool Draw(DrawingDevice& dc, PenBrushSet&) override { return dc.Polygon(points.get(), pointCount); }

private:
    int id_;
};

class LoggedScene : public Scene {
public:
    LoggedScene(GardenState& state, int figureCount) : Scene(state) {
        for (int i = 1; i <= figureCount; ++i) figures.Push(std::make_unique<LoggedFigure>(i));
    }
    ~LoggedScene() override {
        if (deathLog) deathLog->push_back("scene");
    }
    void SetColours(CPen* pen, PenBrushSet*) override {
        ++setColoursCalls;
        AssignStockObject(*pen, kStockBlackPen);
    }
    int setColoursCalls = 0;
};

class TestCanvas : public CanvasWindow {
public:
    TestCanvas(GardenState& state, GdiObjects& objects) : CanvasWindow(state, objects) {}
    ~TestCanvas() override {
        if (deathLog) deathLog->push_back("canvas");
    }
    LoggedScene* UseLoggedScene(int figureCount) {
        auto* logged = new LoggedScene(state, figureCount);
        scene.reset(logged);
        return logged;
    }
    // What the canvas keeps to itself.
    int32_t SceneCounter() const { return sceneCounter; }
    Scene& CurrentScene() { return *scene; }
    const CPen& Pen() const { return pen; }
    const PenBrushSet& Brushes() const { return brushes; }
};

class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        state.random.Seed(777);
        deathLog = &log;
        canvas = std::make_unique<TestCanvas>(state, objects);
        canvas->AttachHost(&host);
    }
    void TearDown() override {
        canvas.reset();
        deathLog = nullptr;
    }

    // One tick and the paint it asks for; returns the figures drawn.
    int TickAndPaint() {
        canvas->OnTick();
        RecordingDevice dc;
        canvas->OnPaint(dc);
        return dc.Shapes();
    }

    GardenState state;
    testing::RecordingObjects<PortableGdiObjects> objects;
    FakeHost host;
    std::vector<std::string> log;
    std::unique_ptr<TestCanvas> canvas;
};

TEST_F(Canvas, StartsWithAnEmptyPlainSceneAndNoTools) {
    EXPECT_EQ(canvas->SceneCounter(), 0);
    EXPECT_EQ(canvas->CurrentScene().figures.Size(), 0u);
    EXPECT_EQ(canvas->CurrentScene().palette, nullptr);
    EXPECT_EQ(canvas->Pen().GetSafeHandle(), nullptr);
    EXPECT_EQ(canvas->Brushes().snowflakeBrush.GetSafeHandle(), nullptr);
    EXPECT_EQ(host.clientRectReads, 0);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Canvas, CreateStartsTimerOneAtTheSpeedPeriod) {
    EXPECT_EQ(canvas->OnCreate(), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StopTicking", "StartTicking 205"}));
}

TEST_F(Canvas, SetSpeedKeepsOutOfRangeValuesButRestartsTheTimer) {
    canvas->SetSpeed(101);
    canvas->SetSpeed(-1);
    EXPECT_EQ(state.speedSetting, 60);
    canvas->SetSpeed(100);
    EXPECT_EQ(state.speedSetting, 100);
    canvas->SetSpeed(0);
    EXPECT_EQ(state.speedSetting, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StopTicking", "StartTicking 205", "StopTicking", "StartTicking 205",
                                                    "StopTicking", "StartTicking 5", "StopTicking", "StartTicking 505"}));
    EXPECT_EQ(TimerPeriodForSpeed(60), 205u);
    EXPECT_EQ(TimerPeriodForSpeed(500), 5u);  // never wraps round to a huge period
}

TEST_F(Canvas, HiddenCanvasStopsTickingAndCarriesOnWhenSeenAgain) {
    canvas->OnCreate();
    canvas->OnTick();
    const int32_t counter = canvas->SceneCounter();
    host.calls.clear();
    canvas->SetVisible(false);
    canvas->SetVisible(false);
    canvas->SetSpeed(100);  // the dialog's slider: remembered, the timer stays off
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StopTicking", "StopTicking"}));
    canvas->SetVisible(true);
    EXPECT_EQ(host.calls.back(), "StartTicking 5");
    EXPECT_EQ(canvas->SceneCounter(), counter);  // the same garden, no scene skipped
}

TEST_F(Canvas, SetCycleLengthRepaintsWithEraseOnlyOnChange) {
    canvas->SetCycleLength(0);  // acts as 1
    EXPECT_EQ(host.calls, (std::vector<std::string>{"RepaintNow"}));
    canvas->SetCycleLength(-5);
    canvas->SetCycleLength(1);
    EXPECT_EQ(host.calls.size(), 1u);
    canvas->SetCycleLength(7);
    canvas->SetCycleLength(7);
    EXPECT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(state.cycleLengthSetting, 10);  // the cycle keeps the loaded setting
}

TEST_F(Canvas, FirstTickBuildsABasalFlowerAndAsksForAPaint) {
    canvas->OnTick();
    EXPECT_EQ(canvas->SceneCounter(), 1);
    EXPECT_NE(dynamic_cast<BasalLeafFlowerScene*>(&canvas->CurrentScene()), nullptr);
    EXPECT_GT(canvas->CurrentScene().figures.Size(), 6u);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"RequestPaint"}));

    // A tick that finds figures left builds nothing but still asks for a paint.
    Scene* before = &canvas->CurrentScene();
    canvas->OnTick();
    EXPECT_EQ(&canvas->CurrentScene(), before);
    EXPECT_EQ(canvas->SceneCounter(), 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"RequestPaint", "RequestPaint"}));
}

TEST_F(Canvas, EmptyQueuePaintDrawsNothingAndReadsNoRectangle) {
    RecordingDevice dc;
    canvas->OnPaint(dc);
    EXPECT_TRUE(dc.calls.empty());
    EXPECT_EQ(host.clientRectReads, 0);
}

TEST_F(Canvas, PaintMapsTheLogicalCanvasOntoTheFirstClientRectangle) {
    LoggedScene* scene = canvas->UseLoggedScene(3);
    RecordingDevice dc;
    canvas->OnPaint(dc);
    ASSERT_GE(dc.calls.size(), 5u);
    EXPECT_EQ(dc.calls[0].op, "MapMode");
    EXPECT_EQ(dc.calls[1].op, "WindowExt");
    EXPECT_EQ(dc.calls[1].a, 1400);
    EXPECT_EQ(dc.calls[1].b, 1000);
    EXPECT_EQ(dc.calls[2].op, "ViewportExt");
    EXPECT_EQ(dc.calls[2].a, 700);
    EXPECT_EQ(dc.calls[2].b, 500);
    EXPECT_EQ(dc.calls[3].op, "ViewportOrg");
    EXPECT_EQ(dc.calls[3].a, 0);
    EXPECT_EQ(dc.calls[3].b, 0);
    // SetColours has run by the time the pen is selected.
    EXPECT_EQ(scene->setColoursCalls, 1);
    EXPECT_EQ(dc.calls[4].op, "Select");
    EXPECT_EQ(dc.calls[4].handle, objects.GetStockObject(kStockBlackPen));
    // Oldest first.
    ASSERT_EQ(dc.calls.size(), 8u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dc.calls[5 + i].d, i + 1);
    EXPECT_EQ(log, (std::vector<std::string>{"figure 1", "figure 2", "figure 3"}));

    // The viewport extent of one more drawing paint.
    auto paintedExtent = [&] {
        canvas->UseLoggedScene(1);
        RecordingDevice next;
        canvas->OnPaint(next);
        return Size{next.calls.at(2).a, next.calls.at(2).b};
    };
    // A resized window keeps the mapping read at the first drawing paint...
    host.clientSize = Size{1920, 1080};
    EXPECT_EQ(paintedExtent(), (Size{700, 500}));
    EXPECT_EQ(host.clientRectReads, 1);

    // ...until the host says the client area changed: then the next paint
    // that draws maps onto the new size.
    canvas->ClientAreaChanged();
    EXPECT_EQ(paintedExtent(), (Size{1920, 1080}));
    EXPECT_EQ(host.clientRectReads, 2);
}

TEST_F(Canvas, TwoCanvasesOnOneStateMapOntoTheirOwnWindowsAndGrowDifferentGardens) {
    FakeHost wide, tall;
    tall.clientSize = Size{300, 800};
    TestCanvas second(state, objects);
    canvas->AttachHost(&wide);
    second.AttachHost(&tall);
    std::vector<std::vector<Point>> gardens[2];
    for (int tick = 0; tick < 3; ++tick) {
        TestCanvas* canvases[2] = {canvas.get(), &second};
        for (int i = 0; i < 2; ++i) {
            canvases[i]->OnTick();
            RecordingDevice dc;
            canvases[i]->OnPaint(dc);
            ASSERT_EQ(dc.calls[2].op, "ViewportExt");
            EXPECT_EQ(dc.calls[2].a, i == 0 ? 700 : 300);  // each its own whole client area
            EXPECT_EQ(dc.calls[2].b, i == 0 ? 500 : 800);
            for (const auto& call : dc.calls) {
                if (!call.points.empty()) gardens[i].push_back(call.points);
            }
        }
    }
    // One generator for both: the second canvas's flowers are not the first's.
    ASSERT_FALSE(gardens[0].empty());
    EXPECT_NE(gardens[0], gardens[1]);
    second.OnWindowDestroyed();
}

TEST_F(Canvas, StepByStepBuildDrawsOneFigurePerPaint) {
    state.buildSetting = 1;
    LoggedScene* scene = canvas->UseLoggedScene(4);
    for (int paint = 1; paint <= 4; ++paint) {
        RecordingDevice dc;
        canvas->OnPaint(dc);
        EXPECT_EQ(dc.Shapes(), 1);
        EXPECT_EQ(scene->setColoursCalls, paint);
        EXPECT_EQ(scene->figures.Size(), static_cast<uint32_t>(4 - paint));
    }
}

TEST_F(Canvas, OtherBuildSettingsDrainTheQueueInOnePaint) {
    for (int setting : {0, 2}) {
        state.buildSetting = setting;
        LoggedScene* scene = canvas->UseLoggedScene(5);
        RecordingDevice dc;
        canvas->OnPaint(dc);
        EXPECT_EQ(dc.Shapes(), 5);
        EXPECT_EQ(scene->setColoursCalls, 1);
        EXPECT_EQ(scene->figures.Size(), 0u);
    }
}

TEST_F(Canvas, StepByStepScenesLastOneTickPerFigure) {
    state.buildSetting = 1;
    canvas->OnTick();
    const uint32_t figures = canvas->CurrentScene().figures.Size();
    RecordingDevice dc;
    canvas->OnPaint(dc);
    for (uint32_t tick = 1; tick < figures; ++tick) {
        EXPECT_EQ(TickAndPaint(), 1);
        EXPECT_EQ(canvas->SceneCounter(), 1);
    }
    canvas->OnTick();
    EXPECT_EQ(canvas->SceneCounter(), 2);
}

TEST_F(Canvas, SceneCycleWithCycleLengthOne) {
    state.cycleLengthSetting = 1;
    std::vector<SceneKind> built;
    auto kindOf = [](Scene& s) {
        if (dynamic_cast<BasalLeafFlowerScene*>(&s)) return SceneKind::BasalLeafFlower;
        if (dynamic_cast<NarrowLeafFlowerScene*>(&s)) return SceneKind::NarrowLeafFlower;
        if (dynamic_cast<BroadLeafFlowerScene*>(&s)) return SceneKind::BroadLeafFlower;
        if (dynamic_cast<FlowerHeadScene*>(&s)) return SceneKind::FlowerHead;
        if (dynamic_cast<FallLeavesScene*>(&s)) return SceneKind::FallLeaves;
        return SceneKind::Snow;
    };
    std::vector<int32_t> counters;
    for (int replacement = 1; replacement <= 281; ++replacement) {
        EXPECT_GT(TickAndPaint(), 0);
        built.push_back(kindOf(canvas->CurrentScene()));
        counters.push_back(canvas->SceneCounter());
    }
    EXPECT_EQ(built[38], SceneKind::BasalLeafFlower);   // 39th
    EXPECT_EQ(built[39], SceneKind::NarrowLeafFlower);  // 40th
    EXPECT_EQ(built[79], SceneKind::BroadLeafFlower);
    EXPECT_EQ(built[119], SceneKind::FlowerHead);
    EXPECT_EQ(built[159], SceneKind::FallLeaves);
    EXPECT_EQ(built[198], SceneKind::FallLeaves);
    EXPECT_EQ(built[199], SceneKind::Snow);  // 200th: the first snow
    EXPECT_EQ(built[279], SceneKind::Snow);  // 280th: the last snow of the pass
    EXPECT_EQ(counters[278], 279);
    EXPECT_EQ(counters[279], 0);
    EXPECT_EQ(built[280], SceneKind::BasalLeafFlower);  // 281st: a new pass
    EXPECT_EQ(counters[280], 1);

    // Every slot has been loaded once; each holds exactly one brush, and the
    // snow brush has survived the flower after it.
    EXPECT_NE(canvas->Brushes().snowflakeBrush.GetSafeHandle(), nullptr);
    EXPECT_NE(canvas->Brushes().fallLeafBrush.GetSafeHandle(), nullptr);
    EXPECT_EQ(objects.live.size(), 7u);
    // Nothing is ever erased: every paint asked for none.
    for (const std::string& call : host.calls) EXPECT_EQ(call, "RequestPaint");
}

TEST_F(Canvas, TeardownDeletesQueuedFiguresOldestFirstThenTheScene) {
    canvas->UseLoggedScene(3);
    canvas->OnWindowDestroyed();
    EXPECT_EQ(log, (std::vector<std::string>{"figure 1", "figure 2", "figure 3", "scene"}));
    // The object survives its window; its owner deletes it.
    EXPECT_EQ(canvas->Brushes().stemLeafBrush.GetSafeHandle(), nullptr);
    canvas.reset();
    EXPECT_EQ(log.back(), "canvas");
    EXPECT_EQ(log.size(), 5u);
}

TEST_F(Canvas, OwnerDeletesTheCanvasAfterItsScene) {
    auto owned = std::make_unique<TestCanvas>(state, objects);
    owned->AttachHost(&host);
    owned->OnTick();
    RecordingDevice dc;
    state.buildSetting = 1;
    owned->OnPaint(dc);  // loads brushes, leaves most figures queued
    owned->UseLoggedScene(2);
    owned->OnWindowDestroyed();
    owned.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"figure 1", "figure 2", "scene", "canvas"}));
    EXPECT_TRUE(objects.live.empty());  // the canvas's brushes went with it
}

TEST_F(Canvas, SurvivingCanvasBuildsAFreshSceneIfItsWindowComesBack) {
    canvas->UseLoggedScene(2);
    canvas->OnWindowDestroyed();
    EXPECT_EQ(log.back(), "scene");  // gone with the window, not only drained
    RecordingDevice dc;
    canvas->OnPaint(dc);
    EXPECT_TRUE(dc.calls.empty());
    EXPECT_GT(TickAndPaint(), 0);
}

}  // namespace
}  // namespace tessaly
