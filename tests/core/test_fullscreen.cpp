// The saver window's input rule: what closes it and what does not.
#include <gtest/gtest.h>

#include <memory>

#include "Fakes.h"
#include "canvas/FullScreenWindow.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {
namespace {

using testing::FakeHost;

class FullScreen : public ::testing::Test {
protected:
    void SetUp() override {
        state.random.Seed(99);
        window = std::make_unique<FullScreenWindow>(state, objects);
        window->AttachHost(&host);
    }
    GardenState state;
    PortableGdiObjects objects;
    FakeHost host;
    std::unique_ptr<FullScreenWindow> window;
};

TEST_F(FullScreen, FirstMouseMoveOnlyRecordsThePoint) {
    EXPECT_EQ(window->LastMousePoint(), (Point{-1, -1}));
    window->OnMouseMove(640, 480);
    EXPECT_EQ(window->LastMousePoint(), (Point{640, 480}));
    EXPECT_EQ(host.closesPosted, 0);
    for (int i = 0; i < 5; ++i) window->OnMouseMove(640, 480);
    EXPECT_EQ(host.closesPosted, 0);
}

TEST_F(FullScreen, AnyLaterMoveOnePixelAwayCloses) {
    window->OnMouseMove(0, 0);
    window->OnMouseMove(1, 0);
    EXPECT_EQ(host.closesPosted, 1);
    window->OnMouseMove(0, 1);
    EXPECT_EQ(host.closesPosted, 2);
    // The recorded point stays the first one.
    EXPECT_EQ(window->LastMousePoint(), (Point{0, 0}));
    window->OnMouseMove(0, 0);
    EXPECT_EQ(host.closesPosted, 2);
}

TEST_F(FullScreen, ButtonsKeysAndDeactivationClose) {
    window->OnButtonOrKeyDown();
    EXPECT_EQ(host.closesPosted, 1);
    window->OnDeactivate();
    EXPECT_EQ(host.closesPosted, 2);
    // Before any mouse move too, and again and again until the close is handled.
    window->OnButtonOrKeyDown();
    EXPECT_EQ(host.closesPosted, 3);
}

TEST_F(FullScreen, WindowsOfSeveralMonitorsJudgeMovesAgainstOneFirstPoint) {
    Point first{-1, -1};
    FullScreenWindow left(state, objects, &first), right(state, objects, &first);
    left.AttachHost(&host);
    right.OnMouseMove(1500, 300);  // the first move, on the second monitor
    left.OnMouseMove(1500, 300);   // the same screen point, reported to the first
    EXPECT_EQ(host.closesPosted, 0);
    left.OnMouseMove(1499, 300);
    EXPECT_EQ(host.closesPosted, 1);
    EXPECT_EQ(window->LastMousePoint(), (Point{-1, -1}));  // a window of its own is not involved
}

TEST_F(FullScreen, IsACanvasThatReleasesEverythingWhenItsWindowGoes) {
    EXPECT_EQ(window->OnCreate(), 0);
    window->OnTick();
    testing::RecordingDevice dc;
    window->OnPaint(dc);
    EXPECT_GT(dc.Shapes(), 0);
    EXPECT_GT(objects.LiveBrushes(), 0u);
    window->OnTick();  // the next scene, left queued at teardown
    window->OnWindowDestroyed();
    window.reset();
    EXPECT_EQ(objects.LiveBrushes(), 0u);
}

}  // namespace
}  // namespace tessaly
