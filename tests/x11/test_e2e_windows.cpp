// Drawing into windows that belong to someone else: the preview pane of a
// host, and the window XScreenSaver hands over, down to the real daemon.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <memory>
#include <vector>

#include "E2eFixture.h"

using namespace e2e;

namespace {

constexpr uint32_t kPane = 0x208020;

// Pixels at x >= `left` that are neither the desktop nor black: the garden's colours.
size_t Coloured(const Image& image, int left = 0) {
    size_t n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = left; x < image.width; ++x) n += image.At(x, y) != 0x000000 && image.At(x, y) != kDesktop;
    return n;
}

// Every process the daemon started Tessaly in has ended (a zombie has too).
bool AllEnded(const std::string& log) {
    const std::regex forked("forked \"tessaly[^\"]*\" in pid (\\d+)");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), forked); it != std::sregex_iterator(); ++it) {
        const std::string stat = "/proc/" + (*it)[1].str() + "/stat";
        const auto gone = [&] { return ReadFile(stat).find(") Z ") != std::string::npos || ReadFile(stat).empty(); };
        if (!WaitUntil(gone, kEndSeconds)) return false;
    }
    return true;
}

std::string Hex(Window w) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

}  // namespace

TEST_F(TessalyE2e, PreviewDrawsInsideThePaneAndEndsWhenItIsDestroyed) {
    const Window pane = client->CreateWindow(320, 240, kPane);
    ASSERT_EQ(client->Grab(pane).CountOf(kPane), 320u * 240u);
    std::unique_ptr<Process> preview;
    Image shot;
    ASSERT_TRUE(StartsDrawing(preview, pane, 200, {"-p", std::to_string(pane), "--speed", "100", "--seed", "3"}, {}, &shot));
    // Drawn over the pane's own picture, which still shows between the figures.
    EXPECT_GT(shot.CountOf(kPane), 0u);
    // Nothing outside the pane was touched.
    const Image root = client->Grab(client->Root());
    EXPECT_EQ(root.At(400, 300), kDesktop);
    client->Destroy(pane);
    EXPECT_TRUE(EndedCleanly(*preview));
    EXPECT_EQ(preview->Output(), "") << "a missing settings file is the normal case: nothing to say";
}

TEST_F(TessalyE2e, PreviewTakesAHexWindowIdAndSlashSwitch) {
    const Window pane = client->CreateWindow(160, 120, kPane);
    std::unique_ptr<Process> preview;
    ASSERT_TRUE(StartsDrawing(preview, pane, 100, {"/p", Hex(pane), "--speed", "100"}));
    preview->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*preview, SIGTERM));
}

TEST_F(TessalyE2e, XScreenSaverWindowVariableAloneDrawsIntoThatWindow) {
    const Window window = client->CreateWindow(320, 240, 0x000000);
    std::unique_ptr<Process> mode;
    ASSERT_TRUE(StartsDrawing(mode, window, 100, {}, {"XSCREENSAVER_WINDOW=" + Hex(window)}));
    // XScreenSaver ends a display mode with SIGTERM: a quiet, orderly end
    // by that signal (an exit would be logged as a crash).
    // How long it takes is recorded, not asserted (timing goals are measured).
    const auto signalled = std::chrono::steady_clock::now();
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*mode, SIGTERM));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled);
    RecordProperty("sigterm_to_exit_ms", static_cast<int>(ms.count()));
    std::printf("SIGTERM to exit: %d ms\n", static_cast<int>(ms.count()));
    EXPECT_EQ(mode->Output().find("error"), std::string::npos) << mode->Output();
}

TEST_F(TessalyE2e, WindowIdOptionDrawsAndEndsWhenTheWindowGoes) {
    const Window window = client->CreateWindow(200, 150, 0x000000);
    std::unique_ptr<Process> mode;
    ASSERT_TRUE(StartsDrawing(mode, window, 100, {"-window-id", std::to_string(window), "--speed", "100"}));
    client->Destroy(window);
    EXPECT_TRUE(EndedCleanly(*mode));
}

TEST_F(TessalyE2e, RootOptionDrawsOnTheRootWindow) {
    std::unique_ptr<Process> mode;
    ASSERT_TRUE(StartsDrawing(mode, client->Root(), 100, {"--root", "--speed", "100", "--build"}));
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*mode, SIGTERM));
}

TEST_F(TessalyE2e, KeepsDrawingAcrossStopAndContinue) {
    const Window window = client->CreateWindow(320, 240, 0x000000);
    std::unique_ptr<Process> mode;
    ASSERT_TRUE(StartsDrawing(mode, window, 100, {"--window-id", Hex(window), "--speed", "100", "--build"}));
    mode->Signal(SIGSTOP);
    // Once the server has drawn what was sent before the stop, nothing changes.
    Image stopped;
    const auto still = [&] { stopped = client->Grab(window); Sleep(0.5); return client->Grab(window).CountDiffering(stopped) == 0; };
    EXPECT_TRUE(WaitUntil(still, kStartSeconds)) << "drew while stopped";
    mode->Signal(SIGCONT);
    Image resumed;
    EXPECT_TRUE(client->WaitForChange(window, stopped, 20, kStartSeconds, resumed));
    Save(resumed);
    mode->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*mode, SIGTERM));
}

TEST_F(TessalyE2e, SigintEndsByItsSignalToo) {
    const Window window = client->CreateWindow(100, 100, 0x000000);
    std::unique_ptr<Process> mode;
    ASSERT_TRUE(StartsDrawing(mode, window, 20, {"--window-id", Hex(window), "--speed", "100"}));
    mode->Signal(SIGINT);
    EXPECT_TRUE(EndedBySignal(*mode, SIGINT));
}

// XScreenSaver starts one display mode per monitor at the same moment: with
// no --seed each paints its own garden, while one --seed paints one garden.
TEST_F(TessalyE2e, EachRunHasItsOwnGardenUnlessSeeded) {
    for (const std::string seed : {"", "11"}) {
        Window windows[2];
        std::unique_ptr<Process> runs[2];
        for (int i = 0; i < 2; ++i) {
            windows[i] = client->CreateWindow(200, 150, 0x000000, 10 + 300 * i, 10);
            std::vector<std::string> args{"--window-id", Hex(windows[i]), "--speed", "0"};  // a drawing every 505 ms
            if (!seed.empty()) args.insert(args.end(), {"--seed", seed});
            runs[i] = Start(args);
        }
        // Both show a drawing (one can fall below the window); with one seed, the same one once both are at it.
        Image first[2];
        WaitUntil([&] {
            for (int i = 0; i < 2; ++i) first[i] = client->Grab(windows[i]);
            return Coloured(first[0]) * Coloured(first[1]) > 0 && (seed.empty() || first[0].CountDiffering(first[1]) == 0);
        }, kStartSeconds);
        for (int i = 0; i < 2; ++i) Save(first[i], "-" + seed + std::to_string(i));
        ASSERT_GT(Coloured(first[0]) * Coloured(first[1]), 0u);
        if (seed.empty()) EXPECT_GT(first[0].CountDiffering(first[1]), 0u) << "two runs painted the same garden";
        else EXPECT_EQ(first[0].CountDiffering(first[1]), 0u);
    }
}

// Debian's XScreenSaver with Tessaly as its one display mode, started by the
// programs: line the docs give, with and without the options its settings
// program writes: the garden shows in the daemon's window, and the daemon
// sees every end of Tessaly as the normal end of a display mode.
TEST_F(TessalyE2e, RunsAsAnXScreenSaverDisplayMode) {
    TESSALY_REQUIRE(!tessaly::testing::FindOnPath("xscreensaver-command").empty(),
                    "XScreenSaver is not installed (apt-get install xscreensaver)");
    TESSALY_REQUIRE(geteuid() == 0, "the daemon refuses root and only root can run it as nobody");
    for (const std::string command : {"tessaly --root", "tessaly --root --cycle-length 12 --speed 90 --build"}) {
        XScreenSaverDaemon daemon(xvfb->Name(), TESSALY_PROGRAM, command);
        ASSERT_TRUE(daemon.Ok());
        ASSERT_EQ(daemon.Command("-activate"), 0) << daemon.Log();
        ASSERT_TRUE(daemon.WaitForLog("forked \"" + command + "\"", kStartSeconds)) << daemon.Log();
        const auto garden = [&] {
            return client->WaitFor(client->Root(), [](const Image& i) { return Coloured(i) >= 500; }, kStartSeconds);
        };
        Save(garden(), command.size() > 15 ? "-options" : "");
        EXPECT_GE(Coloured(garden()), 500u) << "no garden in the daemon's window";
        // Restarting the mode makes the daemon wait for the old one and log how it ended.
        ASSERT_EQ(daemon.Command("-cycle"), 0);
        EXPECT_TRUE(daemon.WaitForLog("(tessaly) exited normally with SIGTERM", kStartSeconds)) << daemon.Log();
        EXPECT_GE(Coloured(garden()), 500u) << "no garden after the restart";  // and the new one is running
        ASSERT_EQ(daemon.Command("-deactivate"), 0);
        ASSERT_TRUE(daemon.WaitForLog("unblanking", kStartSeconds)) << daemon.Log();
        const std::string log = daemon.Log();
        EXPECT_TRUE(AllEnded(log)) << "a display mode outlived the daemon's end of it";
        for (const char* fault : {"abnormally", "did not die", "X error", "X Error", "tessaly:"})
            EXPECT_EQ(log.find(fault), std::string::npos) << fault << " in\n" << log;
    }
}

// XScreenSaver resizes its window when the screen's resolution changes, and a
// host may resize its preview pane: the garden follows. What was painted
// stays, and from then on the drawings are mapped onto the new size, so they
// reach parts the old mapping never could (x beyond 1.5 times the old width).
TEST_F(TessalyE2e, FollowsItsWindowWhenItGrows) {
    for (const char* mode : {"--window-id", "-p"}) {
        const Window window = client->CreateWindow(200, 150, 0x000000);
        auto run = Start({mode, Hex(window), "--speed", "0"});  // a whole drawing every 505 ms
        const Image before = client->WaitFor(window, [](const Image& i) { return Coloured(i) >= 100; }, 4 * kStartSeconds);
        XResizeWindow(client->Dpy(), window, 400, 300);
        XSync(client->Dpy(), False);
        // The server clears the grown window; the run must paint the old picture
        // back. A drawing made meanwhile covers some of it, but blackens only
        // its outlines: a lost picture is black all over.
        const auto kept = [&](const Image& after) {
            size_t erased = 0, drawn = 0;
            for (int y = 0; y < 150; ++y)
                for (int x = 0; x < 200; ++x)
                    if (before.At(x, y) != 0) ++drawn, erased += after.width != 400 || after.At(x, y) == 0;
            return erased * 4 <= drawn;
        };
        const Image after = client->WaitFor(window, kept, kStartSeconds);
        ASSERT_EQ(after.width, 400);
        EXPECT_TRUE(kept(after)) << mode << ": the picture was lost when the window grew";
        const Image grown = client->WaitFor(window, [](const Image& i) { return Coloured(i, 300) >= 200; }, kStartSeconds);
        Save(grown, mode);
        EXPECT_GE(Coloured(grown, 300), 200u) << mode << ": nothing drawn in the new area";
        run->Signal(SIGTERM);
        EXPECT_TRUE(EndedBySignal(*run, SIGTERM)) << mode;
    }
}
