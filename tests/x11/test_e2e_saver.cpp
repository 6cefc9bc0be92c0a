// The full-screen saver on a real X server: it starts from the screen as it
// was, draws, and ends on a key, a button, a move after the first, or focus
// loss, but not on the first move or the wheel.
#include <signal.h>

#include <algorithm>

#include "E2eFixture.h"

using namespace e2e;

namespace {
// The saver must still be running after input that should not end it.
constexpr double kGraceSeconds = 1.0;
}  // namespace

TEST_F(TessalyE2e, SaverCoversTheScreenStartingFromItsPictureAndDraws) {
    auto saver = StartSaver();
    const Image shot = client->Grab(client->Root());
    Save(shot);
    const size_t total = shot.pixels.size();
    // Drawings are there, on top of the desktop that was grabbed, not on black.
    EXPECT_GT(total - shot.CountOf(kDesktop), 50u);
    EXPECT_GT(shot.CountOf(kDesktop), total / 4);
    EXPECT_TRUE(saver->Running());
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*saver));
    // Its window is gone with it.
    EXPECT_EQ(client->WaitForSaverWindow(0.2), 0ul);
}

TEST_F(TessalyE2e, SaverEndsOnAKey) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"key", "a"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsOnASystemKey) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"key", "alt"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsOnEachButtonButNotTheWheel) {
    for (const char* button : {"1", "2", "3", "8"}) {
        auto saver = StartSaver();
        for (const char* wheel : {"4", "5", "6", "7"}) ASSERT_EQ(Xdotool({"click", wheel}), 0);
        Sleep(kGraceSeconds);
        EXPECT_TRUE(saver->Running()) << "the wheel ended the saver";
        ASSERT_EQ(Xdotool({"click", button}), 0);
        EXPECT_TRUE(EndedCleanly(*saver)) << "button " << button;
    }
}

TEST_F(TessalyE2e, SaverIgnoresTheFirstMoveAndEndsOnTheNext) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"mousemove", "100", "100"}), 0);
    Sleep(kGraceSeconds);
    ASSERT_TRUE(saver->Running()) << "the first move ended the saver";
    // One pixel away from the first reported position is enough.
    ASSERT_EQ(Xdotool({"mousemove", "101", "100"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsWhenAnotherWindowTakesTheFocus) {
    auto saver = StartSaver();
    const Window other = client->CreateWindow(50, 50, 0xFFFFFF);
    XSetInputFocus(client->Dpy(), other, RevertToParent, CurrentTime);
    XSync(client->Dpy(), False);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverStaysOnTopOfWindowsThatAppearLater) {
    auto saver = StartSaver();
    const Window other = client->CreateWindow(200, 200, 0xFFFFFF);
    Sleep(0.5);
    // Had the new window stayed on top, this corner would be plain white.
    const Image shot = client->Grab(client->Root());
    Save(shot);
    size_t white = 0;
    for (int y = 10; y < 210; ++y)
        for (int x = 10; x < 210; ++x) white += shot.At(x, y) == 0xFFFFFF;
    EXPECT_LT(white, 200u * 200u / 2);
    client->Destroy(other);
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*saver));
}

#ifdef TESSALY_HAVE_XFIXES
#include <X11/extensions/Xfixes.h>

// The cursor the server shows: every pixel fully transparent.
TEST_F(TessalyE2e, SaverHidesThePointer) {
    int event = 0, error = 0;
    ASSERT_TRUE(XFixesQueryExtension(client->Dpy(), &event, &error));
    XFixesCursorImage* before = XFixesGetCursorImage(client->Dpy());
    ASSERT_NE(before, nullptr);
    size_t visibleBefore = 0;
    for (int i = 0; i < before->width * before->height; ++i) visibleBefore += (before->pixels[i] >> 24) != 0;
    XFree(before);
    ASSERT_GT(visibleBefore, 0u) << "the server's own cursor should be visible";

    auto saver = StartSaver();
    XFixesCursorImage* cursor = XFixesGetCursorImage(client->Dpy());
    ASSERT_NE(cursor, nullptr);
    size_t visible = 0;
    for (int i = 0; i < cursor->width * cursor->height; ++i) visible += (cursor->pixels[i] >> 24) != 0;
    XFree(cursor);
    EXPECT_EQ(visible, 0u);
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*saver));
}
#endif

// Several monitors: Xephyr's Xinerama heads. Equal heads with RandR present
// (it describes only the first of Xephyr's screens), and unequal heads in
// swapped order (the first head on the right) with no RandR at all.
namespace {

const std::vector<Head> kEqualHeads{{0, 0, 1280, 800}, {1280, 0, 1280, 800}};
const std::vector<Head> kUnequalHeads{{1024, 0, 1280, 800}, {0, 0, 1024, 768}};

class SaverMonitors : public TessalyE2e {
protected:
    // Starts the saver on these heads; the windows come back in the heads' order.
    std::vector<Window> StartOnHeads(const std::vector<Head>& heads, bool randr, std::unique_ptr<Process>& saver) {
        if (!UseHeads(heads, randr)) return {};
        saver = Start({"/s", "--seed", "7", "--speed", "95"});
        std::vector<Window> found = client->WaitForSaverWindows(heads.size(), kStartSeconds), windows;
        EXPECT_EQ(found.size(), heads.size()) << saver->Output();
        for (const Head& head : heads)
            for (Window w : found) {
                const Head g = client->Geometry(w);
                if (g.x == head.x && g.y == head.y && g.width == head.width && g.height == head.height)
                    windows.push_back(w);
            }
        EXPECT_EQ(windows.size(), heads.size()) << "a window with exactly each head's rectangle";
        return windows.size() == heads.size() ? windows : std::vector<Window>{};
    }

    // Every head is painted, with drawings reaching its right and bottom
    // edges (its garden is mapped onto its own size), and no two alike.
    void ExpectAGardenOnEachHead(const std::vector<Window>& windows) {
        std::vector<Image> shots(windows.size());
        for (size_t i = 0; i < windows.size(); ++i) {
            Image& shot = shots[i];
            bool edges = false;
            for (int attempt = 0; attempt < 100 && !edges; ++attempt, Sleep(0.1)) {
                shot = client->Grab(windows[i]);
                size_t right = 0, bottom = 0;
                for (int y = 0; y < shot.height; ++y)
                    for (int x = 0; x < shot.width; ++x) {
                        if (shot.At(x, y) == kDesktop) continue;
                        right += x >= shot.width * 9 / 10;
                        bottom += y >= shot.height * 9 / 10;
                    }
                edges = right > 100 && bottom > 100;
            }
            Save(shot, "-head" + std::to_string(i));
            EXPECT_TRUE(edges) << "head " << i << ": drawings reach its right and bottom edges";
        }
        size_t compared = 0, differing = 0;  // over the part both heads have
        for (int y = 0; y < std::min(shots[0].height, shots[1].height); ++y)
            for (int x = 0; x < std::min(shots[0].width, shots[1].width); ++x, ++compared)
                differing += shots[0].At(x, y) != shots[1].At(x, y);
        EXPECT_GT(differing, compared / 100) << "the two gardens differ";
    }

    void ExpectAllGone(Process& saver) {
        EXPECT_TRUE(EndedCleanly(saver));
        EXPECT_TRUE(client->WaitForSaverWindows(1, 0.2).empty()) << "every window is gone";
    }
};

}  // namespace

TEST_F(SaverMonitors, EqualMonitorsEachShowAGardenOfTheirOwnUntilAKey) {
    std::unique_ptr<Process> saver;
    const std::vector<Window> windows = StartOnHeads(kEqualHeads, true, saver);
    ASSERT_FALSE(windows.empty());
    ExpectAGardenOnEachHead(windows);
    ASSERT_EQ(Xdotool({"key", "a"}), 0);
    ExpectAllGone(*saver);
}

TEST_F(SaverMonitors, UnequalMonitorsEachShowAGardenOfTheirOwnUntilAClick) {
    std::unique_ptr<Process> saver;
    const std::vector<Window> windows = StartOnHeads(kUnequalHeads, false, saver);
    ASSERT_FALSE(windows.empty());
    ExpectAGardenOnEachHead(windows);
    for (const char* wheel : {"4", "5"}) ASSERT_EQ(Xdotool({"click", wheel}), 0);
    Sleep(kGraceSeconds);
    ASSERT_TRUE(saver->Running()) << "the wheel ended the saver";
    ASSERT_EQ(Xdotool({"click", "1"}), 0);
    ExpectAllGone(*saver);
}

TEST_F(SaverMonitors, TheFirstMoveOnEitherMonitorOnlyRecordsThePoint) {
    for (const Head& head : kUnequalHeads) {
        std::unique_ptr<Process> saver;
        ASSERT_FALSE(StartOnHeads(kUnequalHeads, false, saver).empty());
        const int x = head.x + head.width / 2, y = head.y + head.height / 2;
        ASSERT_EQ(Xdotool({"mousemove", std::to_string(x), std::to_string(y)}), 0);
        Sleep(kGraceSeconds);
        ASSERT_TRUE(saver->Running()) << "the first move, onto the head at " << head.x << "," << head.y;
        ASSERT_EQ(Xdotool({"mousemove", std::to_string(x + 1), std::to_string(y)}), 0);
        ExpectAllGone(*saver);
    }
}

TEST_F(SaverMonitors, FocusGoingToAnotherProgramEndsEveryMonitorsWindow) {
    std::unique_ptr<Process> saver;
    ASSERT_FALSE(StartOnHeads(kEqualHeads, true, saver).empty());
    Sleep(kGraceSeconds);
    ASSERT_TRUE(saver->Running()) << "focus moving among the saver's own windows ended it";
    const Window other = client->CreateWindow(50, 50, 0xFFFFFF);
    XSetInputFocus(client->Dpy(), other, RevertToParent, CurrentTime);
    XSync(client->Dpy(), False);
    ExpectAllGone(*saver);
}
