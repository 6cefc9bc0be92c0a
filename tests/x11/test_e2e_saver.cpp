// The full-screen saver on a real X server: it starts from the screen as it
// was, draws, and ends on a key, a button, a move after the first, or focus
// loss, but not on the first move or the wheel.
#include <signal.h>

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
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
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
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
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
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
}
#endif
