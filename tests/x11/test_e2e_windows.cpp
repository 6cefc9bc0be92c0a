// Drawing into windows that belong to someone else: the preview pane of a
// host, and the window XScreenSaver hands over.
#include <signal.h>

#include <chrono>
#include <cstdio>

#include "E2eFixture.h"

using namespace e2e;

namespace {

constexpr uint32_t kPane = 0x208020;

std::string Hex(Window w) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

}  // namespace

TEST_F(TessalyE2e, PreviewDrawsInsideThePaneAndEndsWhenItIsDestroyed) {
    const Window pane = client->CreateWindow(320, 240, kPane);
    const Image before = client->Grab(pane);
    ASSERT_EQ(before.CountOf(kPane), 320u * 240u);
    auto preview = Start({"-p", std::to_string(pane), "--speed", "100", "--seed", "3"});
    Image shot;
    ASSERT_TRUE(client->WaitForChange(pane, before, 200, kStartSeconds, shot)) << preview->Output();
    Save(shot);
    // Drawn over the pane's own picture, which still shows between the figures.
    EXPECT_GT(shot.CountOf(kPane), 0u);
    // Nothing outside the pane was touched.
    const Image root = client->Grab(client->Root());
    EXPECT_EQ(root.At(400, 300), kDesktop);
    client->Destroy(pane);
    EXPECT_TRUE(EndedCleanly(*preview));
}

TEST_F(TessalyE2e, PreviewTakesAHexWindowIdAndSlashSwitch) {
    const Window pane = client->CreateWindow(160, 120, kPane);
    const Image before = client->Grab(pane);
    auto preview = Start({"/p", Hex(pane), "--speed", "100"});
    Image shot;
    ASSERT_TRUE(client->WaitForChange(pane, before, 100, kStartSeconds, shot)) << preview->Output();
    Save(shot);
    preview->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*preview));
}

TEST_F(TessalyE2e, XScreenSaverWindowVariableAloneDrawsIntoThatWindow) {
    const Window window = client->CreateWindow(320, 240, 0x000000);
    const Image before = client->Grab(window);
    auto mode = Start({}, {"XSCREENSAVER_WINDOW=" + Hex(window)});
    Image shot;
    ASSERT_TRUE(client->WaitForChange(window, before, 100, kStartSeconds, shot)) << mode->Output();
    Save(shot);
    // XScreenSaver ends a display mode with SIGTERM: a quiet, clean end.
    // How long it takes is recorded, not asserted (timing goals are measured).
    const auto signalled = std::chrono::steady_clock::now();
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*mode));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled);
    RecordProperty("sigterm_to_exit_ms", static_cast<int>(ms.count()));
    std::printf("SIGTERM to exit: %d ms\n", static_cast<int>(ms.count()));
    EXPECT_EQ(mode->Output().find("error"), std::string::npos) << mode->Output();
}

TEST_F(TessalyE2e, WindowIdOptionDrawsAndEndsWhenTheWindowGoes) {
    const Window window = client->CreateWindow(200, 150, 0x000000);
    const Image before = client->Grab(window);
    auto mode = Start({"-window-id", std::to_string(window), "--speed", "100"});
    Image shot;
    ASSERT_TRUE(client->WaitForChange(window, before, 100, kStartSeconds, shot)) << mode->Output();
    Save(shot);
    client->Destroy(window);
    EXPECT_TRUE(EndedCleanly(*mode));
}

TEST_F(TessalyE2e, RootOptionDrawsOnTheRootWindow) {
    const Image before = client->Grab(client->Root());
    auto mode = Start({"--root", "--speed", "100", "--build"});
    Image shot;
    ASSERT_TRUE(client->WaitForChange(client->Root(), before, 100, kStartSeconds, shot)) << mode->Output();
    Save(shot);
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*mode));
}

TEST_F(TessalyE2e, KeepsDrawingAcrossStopAndContinue) {
    const Window window = client->CreateWindow(320, 240, 0x000000);
    const Image before = client->Grab(window);
    auto mode = Start({"--window-id", Hex(window), "--speed", "100", "--build"});
    Image drawn;
    ASSERT_TRUE(client->WaitForChange(window, before, 100, kStartSeconds, drawn)) << mode->Output();
    mode->Signal(SIGSTOP);
    Sleep(0.3);
    const Image stopped = client->Grab(window);
    Sleep(0.5);
    EXPECT_EQ(client->Grab(window).CountDiffering(stopped), 0u) << "drew while stopped";
    mode->Signal(SIGCONT);
    Image resumed;
    EXPECT_TRUE(client->WaitForChange(window, stopped, 20, kStartSeconds, resumed));
    Save(resumed);
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedCleanly(*mode));
}

TEST_F(TessalyE2e, SigintEndsCleanlyToo) {
    const Window window = client->CreateWindow(100, 100, 0x000000);
    const Image before = client->Grab(window);
    auto mode = Start({"--window-id", Hex(window), "--speed", "100"});
    Image drawn;
    ASSERT_TRUE(client->WaitForChange(window, before, 20, kStartSeconds, drawn)) << mode->Output();
    mode->Signal(SIGINT);
    EXPECT_TRUE(EndedCleanly(*mode));
}
