// The saver window's input rule: what closes it and what does not.
#include <gtest/gtest.h>

#include "CanvasFakes.h"
#include "canvas/FullScreenWindow.h"
#include "device/PortableGdiObjects.h"
#include "generators/RunningValues.h"
#include "random/Random.h"

namespace tessaly {
namespace {

using testing::FakeHost;

class FullScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRunningValues();
        SeedRandom(99);
        window = new FullScreenWindow(objects);
        window->AttachHost(&host);
    }
    void TearDown() override {
        window->PostNcDestroy();  // autoDelete 1: deletes the window object
        ResetRunningValues();
    }
    PortableGdiObjects objects;
    FakeHost host;
    FullScreenWindow* window = nullptr;
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
    FakeHost leftHost, rightHost;
    auto* left = new FullScreenWindow(objects, &first);
    auto* right = new FullScreenWindow(objects, &first);
    left->AttachHost(&leftHost);
    right->AttachHost(&rightHost);
    right->OnMouseMove(1500, 300);  // the first move, on the second monitor
    left->OnMouseMove(1500, 300);   // the same screen point reported again
    EXPECT_EQ(leftHost.closesPosted + rightHost.closesPosted, 0);
    EXPECT_EQ(left->LastMousePoint(), (Point{1500, 300}));
    left->OnMouseMove(1499, 300);
    EXPECT_EQ(leftHost.closesPosted, 1);
    EXPECT_EQ(window->LastMousePoint(), (Point{-1, -1}));  // a window of its own is not involved
    left->PostNcDestroy();
    right->PostNcDestroy();
}

TEST_F(FullScreen, SwallowsScreenSaveAndCloseCommandsExactly) {
    EXPECT_TRUE(window->OnSysCommand(0xF140));
    EXPECT_TRUE(window->OnSysCommand(0xF060));
    EXPECT_FALSE(window->OnSysCommand(0xF141));  // a low bit set: default handling
    EXPECT_FALSE(window->OnSysCommand(0xF062));
    EXPECT_FALSE(window->OnSysCommand(0xF020));  // SC_MINIMIZE
    EXPECT_EQ(host.closesPosted, 0);
}

TEST_F(FullScreen, IsACanvasThatDeletesItself) {
    EXPECT_EQ(window->OnCreate(), 0);
    EXPECT_TRUE(window->OnTimer(kCanvasTimerId));
    testing::RecordingDevice dc;
    window->OnPaint(dc);
    EXPECT_GT(dc.Shapes(), 0);
    EXPECT_GT(objects.LiveBrushes(), 0u);
    window->OnTimer(kCanvasTimerId);  // the next scene, left queued at teardown
    window->PostNcDestroy();
    EXPECT_EQ(objects.LiveBrushes(), 0u);
    window = new FullScreenWindow(objects);  // for TearDown
}

}  // namespace
}  // namespace tessaly
