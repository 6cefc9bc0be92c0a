// The saver's run: its full-screen input rule, the canvases of several
// monitors sharing one first point and one end, and the order in which each
// canvas is bound to its window and let go.
#include <gtest/gtest.h>

#include <memory>

#include "support/Fakes.h"
#include "device/PortableGdiObjects.h"
#include "session/SaverSession.h"

namespace tessaly {
namespace {

using testing::FakeHost;

class FullScreen : public ::testing::Test {
protected:
    void SetUp() override { state.random.Seed(99); }
    GardenState state;
    testing::RecordingObjects<PortableGdiObjects> objects;
    FakeHost host, other;
    int ends = 0;
    SaverSession session{state, objects, [this] { ++ends; }};
    FullScreenWindow& window = session.AddSaverCanvas(host);
};

TEST_F(FullScreen, FirstMouseMoveOnlyRecordsThePoint) {
    EXPECT_EQ(session.FirstMousePoint(), (Point{-1, -1}));
    window.OnMouseMove(640, 480);
    EXPECT_EQ(session.FirstMousePoint(), (Point{640, 480}));
    for (int i = 0; i < 5; ++i) window.OnMouseMove(640, 480);
    EXPECT_TRUE(session.Running());
    window.OnMouseMove(640, 481);  // one pixel away
    EXPECT_FALSE(session.Running());
    EXPECT_EQ(session.EndingSignal(), 0);
    EXPECT_EQ(session.FirstMousePoint(), (Point{640, 480}));  // the recorded point stays the first one
}

TEST_F(FullScreen, ButtonsKeysAndDeactivationEndTheRunOnce) {
    for (auto trigger : {&FullScreenWindow::OnButtonOrKeyDown, &FullScreenWindow::OnDeactivate}) {
        SaverSession run(state, objects, [this] { ++ends; });
        FullScreenWindow& canvas = run.AddSaverCanvas(other);
        (canvas.*trigger)();  // before any mouse move too
        (canvas.*trigger)();
        run.Signalled(15);    // too late: the first end counts
        EXPECT_FALSE(run.Running());
        EXPECT_EQ(run.EndingSignal(), 0);
    }
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(session.Running());
}

TEST_F(FullScreen, CanvasesOfSeveralMonitorsJudgeMovesAgainstOneFirstPoint) {
    FullScreenWindow& right = session.AddSaverCanvas(other);
    right.OnMouseMove(1500, 300);   // the first move, on the second monitor
    window.OnMouseMove(1500, 300);  // the same layout point, reported to the first
    EXPECT_TRUE(session.Running());
    window.OnMouseMove(1499, 300);
    EXPECT_EQ(ends, 1);
    // Ending is the port's to carry out: nothing is torn down yet.
    EXPECT_EQ(session.CanvasOf(host), &window);
    EXPECT_EQ(session.CanvasOf(other), &right);
}

TEST_F(FullScreen, SignalEndsTheRunAndSaysWhich) {
    session.Signalled(0);
    EXPECT_TRUE(session.Running());
    session.Signalled(2);
    EXPECT_FALSE(session.Running());
    EXPECT_EQ(session.EndingSignal(), 2);
}

TEST_F(FullScreen, EachCanvasIsCreatedOnItsWindowAndLetGoWhenItGoes) {
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StopTicking", "StartTicking 205"}));
    CanvasWindow& plain = session.AddCanvas(other);
    EXPECT_EQ(session.CanvasOf(other), &plain);
    plain.OnTick();
    testing::RecordingDevice dc;
    plain.OnPaint(dc);
    EXPECT_GT(dc.Shapes(), 0);
    plain.OnTick();  // left queued when its output goes
    window.OnTick();
    window.OnPaint(dc);
    EXPECT_FALSE(objects.live.empty());
    window.OnTick();  // the next scene, left queued at teardown

    session.Remove(other);  // an output unplugged: the others carry on
    EXPECT_EQ(other.calls.back(), "StopTicking");
    EXPECT_EQ(session.CanvasOf(other), nullptr);
    EXPECT_TRUE(session.Running());
    session.Remove(other);  // twice is harmless

    session.TearDown();
    EXPECT_EQ(host.calls.back(), "StopTicking");
    EXPECT_EQ(session.CanvasOf(host), nullptr);
    EXPECT_TRUE(objects.live.empty());
}

TEST_F(FullScreen, AnUnboundCanvasNoLongerCallsItsWindow) {
    CanvasBinding binding(std::make_unique<CanvasWindow>(state, objects));  // as the dialog's preview
    binding.Bind(other);
    binding.Unbind();
    EXPECT_EQ(binding.Host(), nullptr);
    const std::vector<std::string> calls = other.calls;
    binding.Canvas().OnTick();
    binding.Canvas().SetSpeed(10);
    binding.Canvas().SetCycleLength(9);
    EXPECT_EQ(other.calls, calls);
}

}  // namespace
}  // namespace tessaly
