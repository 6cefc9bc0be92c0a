// Bad inputs and a hostile environment: clear one-line messages, clean exit
// codes, no core dumps.
#include <signal.h>

#include <chrono>

#include "E2eFixture.h"

using namespace e2e;

namespace {
constexpr int kCannotStart = 1;
constexpr int kUsage = 2;
}  // namespace

TEST_F(TessalyE2e, NoDisplayIsReported) {
    auto p = Start({"/s"}, {"DISPLAY"});
    ASSERT_TRUE(ExitedWith(*p, kCannotStart));
    EXPECT_NE(p->Output().find("DISPLAY is not set"), std::string::npos) << p->Output();
    auto q = Start({"/s", "--display", ":999"});
    ASSERT_TRUE(ExitedWith(*q, kCannotStart));
    EXPECT_NE(q->Output().find("cannot open X display ':999'"), std::string::npos) << q->Output();
}

TEST_F(TessalyE2e, AWindowThatDoesNotExistIsReported) {
    for (const auto& args : {std::vector<std::string>{"-p", "0x7fff00"}, {"--window-id", "0x7fff00"}}) {
        auto p = Start(args);
        ASSERT_TRUE(ExitedWith(*p, kCannotStart));
        EXPECT_NE(p->Output().find("there is no window 0x7fff00"), std::string::npos) << p->Output();
    }
    auto env = Start({}, {"XSCREENSAVER_WINDOW=12345"});
    ASSERT_TRUE(ExitedWith(*env, kCannotStart));

    // A window too big for the picture behind it (the X server would have to
    // hold 4 GiB for it) is refused, for both ways of drawing into it.
    const Window huge = XCreateSimpleWindow(client->Dpy(), client->Root(), 0, 0, 32767, 32767, 0, 0, 0);
    XSync(client->Dpy(), False);
    for (const char* option : {"--window-id", "-p"}) {
        auto p = Start({option, std::to_string(huge)});
        ASSERT_TRUE(ExitedWith(*p, kCannotStart));
        EXPECT_NE(p->Output().find("is 32767x32767 pixels; tessaly draws in at most 67108864 pixels"),
                  std::string::npos)
            << p->Output();
    }
}

TEST_F(TessalyE2e, BadArgumentsAreUsageErrors) {
    for (const auto& args : {std::vector<std::string>{"/x"}, {"/Screen"}, {"-p"}, {"-p", "pane"}, {"--speed", "200"},
                             {"--seed"}, {"--root", "/s"}}) {
        auto p = Start(args);
        ASSERT_TRUE(ExitedWith(*p, kUsage)) << args[0];
        const std::string out = p->Output();
        EXPECT_EQ(out.rfind("tessaly: ", 0), 0u) << out;
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
    }
    auto env = Start({}, {"XSCREENSAVER_WINDOW=nonsense"});
    ASSERT_TRUE(ExitedWith(*env, kUsage));
}

TEST_F(TessalyE2e, HelpAndVersionNeedNoDisplay) {
    auto help = Start({"--help"}, {"DISPLAY"});
    ASSERT_TRUE(EndedCleanly(*help));
    EXPECT_NE(help->Output().find("--window-id"), std::string::npos);
    auto version = Start({"--version"}, {"DISPLAY"});
    ASSERT_TRUE(EndedCleanly(*version));
    EXPECT_EQ(version->Output().rfind("tessaly ", 0), 0u);
    // Help that cannot be written is a failure, not a silent success.
    for (const char* option : {"--help", "--version"}) {
        const std::string command = std::string(TESSALY_PROGRAM) + " " + option + " >/dev/full 2>/dev/null";
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), kCannotStart) << option;
    }
}

TEST_F(TessalyE2e, LosingTheXServerEndsWithAMessage) {
    auto saver = StartSaver();
    client.reset();  // the test's own connection would end the test with it
    xvfb->Kill();
    ASSERT_TRUE(ExitedWith(*saver, 1));
    EXPECT_NE(saver->Output().find("lost the connection to the X server"), std::string::npos) << saver->Output();
}

// An idle daemon or a lock screen that ends the saver must see it go, even
// while the X server answers nothing: its teardown waits for the server.
TEST_F(TessalyE2e, SigtermEndsTheSaverWithinASecondWhileTheXServerIsStopped) {
    auto saver = StartSaver();
    ASSERT_TRUE(xvfb->Stop()) << "Xvfb did not stop";
    const auto sent = std::chrono::steady_clock::now();
    saver->Signal(SIGTERM);
    const bool gone = saver->WaitExit(kEndSeconds);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - sent;
    xvfb->Continue();
    ASSERT_TRUE(gone) << "still running " << kEndSeconds << " s after SIGTERM\n" << saver->Output();
    EXPECT_LE(took.count(), 1.0) << "gone " << took.count() << " s after SIGTERM, expected within 1 s";
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
}

TEST_F(TessalyE2e, MalformedSettingsFileWarnsOnceAndRunsWithDefaults) {
    ASSERT_EQ(std::system(("mkdir -p '" + configHome + "/tessaly' && printf 'garbage\\n' > '" + configHome +
                           "/tessaly/tessaly.ini'")
                              .c_str()),
              0);
    const Window pane = client->CreateWindow(100, 100, 0x000000);
    std::unique_ptr<Process> mode;
    EXPECT_TRUE(StartsDrawing(mode, pane, 20, {"-p", std::to_string(pane), "--speed", "100"}));
    mode->Signal(SIGTERM);
    ASSERT_TRUE(EndedBySignal(*mode, SIGTERM));
    EXPECT_EQ(mode->Output(), "tessaly: settings file " + configHome +
                                  "/tessaly/tessaly.ini: line 1 is not 'key=value'; using the defaults\n");
}
