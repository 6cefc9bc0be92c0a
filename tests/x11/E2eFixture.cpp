#include "E2eFixture.h"

#include <signal.h>
#include <stdlib.h>

namespace e2e {

void TessalyE2e::SetUp() {
    xvfb = std::make_unique<Xvfb>(640, 480);
    ASSERT_TRUE(xvfb->Ok()) << "Xvfb did not start";
    client = std::make_unique<XClient>(xvfb->Name());
    ASSERT_TRUE(client->Ok());
    client->SetRootColour(kDesktop);
    ASSERT_FALSE(configHome.empty());
}

void TessalyE2e::TearDown() {
    client.reset();
    if (xvfb) xvfb->Kill();
}

std::vector<std::string> TessalyE2e::Environment(const std::vector<std::string>& extra) const {
    // No WAYLAND_DISPLAY: in a Wayland session it would take /s there.
    std::vector<std::string> env{"DISPLAY=" + xvfb->Name(), "XDG_CONFIG_HOME=" + configHome, "XSCREENSAVER_WINDOW",
                                 "WAYLAND_DISPLAY"};
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::string TessalyE2e::TestName() const {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

std::unique_ptr<Process> TessalyE2e::Start(const std::vector<std::string>& args,
                                           const std::vector<std::string>& extraEnv) {
    std::vector<std::string> argv{TESSALY_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::string log = TestName() + (started++ == 0 ? "" : "-" + std::to_string(started)) + ".log";
    return std::make_unique<Process>(argv, Environment(extraEnv), ArtefactPath(log));
}

int TessalyE2e::Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv, Environment());
}

void TessalyE2e::Save(const Image& image, const std::string& suffix) const {
    image.SavePng(ArtefactPath(TestName() + suffix + ".png"));
}

::testing::AssertionResult TessalyE2e::StartsDrawing(std::unique_ptr<Process>& run, Window window, size_t minimum,
                                                     const std::vector<std::string>& args,
                                                     const std::vector<std::string>& extraEnv, Image* shot) {
    const Image before = client->Grab(window);
    run = Start(args, extraEnv);
    Image last;
    if (!client->WaitForChange(window, before, minimum, kStartSeconds, last))
        return ::testing::AssertionFailure() << "fewer than " << minimum << " pixels drawn\n" << run->Output();
    Save(last);
    if (shot) *shot = last;
    return ::testing::AssertionSuccess();
}

std::unique_ptr<Process> TessalyE2e::StartSaver(const std::vector<std::string>& extraArgs) {
    std::vector<std::string> args{"/s", "--seed", "7", "--speed", "95"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    auto saver = Start(args);
    EXPECT_NE(client->WaitForSaverWindow(kStartSeconds), 0ul) << saver->Output();
    Image before = client->Grab(client->Root()), now;
    // Drawing starts once the window has taken the keyboard and the pointer.
    EXPECT_TRUE(client->WaitForChange(client->Root(), before, 50, kStartSeconds, now)) << saver->Output();
    return saver;
}

::testing::AssertionResult EndedCleanly(Process& p, double seconds) { return ExitedWith(p, 0, seconds); }

::testing::AssertionResult ExitedWith(Process& p, int code, double seconds) {
    if (!p.WaitExit(seconds)) return ::testing::AssertionFailure() << "still running after " << seconds << " s";
    const int status = p.WaitStatus();
    if (WIFSIGNALED(status))
        return ::testing::AssertionFailure() << "killed by signal " << WTERMSIG(status)
                                             << (WCOREDUMP(status) ? " (core dumped)" : "") << "\n" << p.Output();
    if (WEXITSTATUS(status) != code)
        return ::testing::AssertionFailure() << "exit code " << WEXITSTATUS(status) << ", expected " << code << "\n"
                                             << p.Output();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult EndedBySignal(Process& p, int signal, double seconds) {
    if (!p.WaitExit(seconds)) return ::testing::AssertionFailure() << "still running after " << seconds << " s";
    const int status = p.WaitStatus();
    if (WIFSIGNALED(status) && WTERMSIG(status) == signal && !WCOREDUMP(status)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "wait status " << status << ", not death by signal " << signal << "\n"
                                         << p.Output();
}

}  // namespace e2e
