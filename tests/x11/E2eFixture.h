// A fresh Xvfb for each end-to-end test, the test's own X client on it, and
// tessaly started against it with a private settings folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <memory>
#include <string>
#include <vector>

#include "E2eHarness.h"
#include "support/Scratch.h"
#include "support/Tools.h"

namespace e2e {

constexpr uint32_t kDesktop = 0x3366AA;  // the root window's colour before the saver starts
constexpr double kStartSeconds = 30;     // generous: CI machines are slow and loaded
constexpr double kEndSeconds = 20;

class TessalyE2e : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> Environment(const std::vector<std::string>& extra = {}) const;
    std::unique_ptr<Process> Start(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {});
    int Xdotool(const std::vector<std::string>& args);
    // Screenshot of `window` saved as an artefact named after the test.
    void Save(const Image& image, const std::string& suffix = "") const;
    std::string TestName() const;

    // Starts tessaly into `run` and waits until it has changed `minimum` pixels
    // of `window`; the picture it reached is saved, and kept in `shot` if given.
    ::testing::AssertionResult StartsDrawing(std::unique_ptr<Process>& run, Window window, size_t minimum,
                                             const std::vector<std::string>& args,
                                             const std::vector<std::string>& extraEnv = {}, Image* shot = nullptr);
    // Starts the full-screen saver and waits until it covers the screen and draws.
    std::unique_ptr<Process> StartSaver(const std::vector<std::string>& extraArgs = {});

    std::unique_ptr<Xvfb> xvfb;
    std::unique_ptr<XClient> client;
    tessaly::testing::ScratchFolder scratch;
    std::string configHome = scratch.Path();
    int started = 0;  // processes started by this test, each with its own log
};

// Ended by itself with exit code 0 (no signal, no core dump).
::testing::AssertionResult EndedCleanly(Process& p, double seconds = kEndSeconds);
::testing::AssertionResult ExitedWith(Process& p, int code, double seconds = kEndSeconds);
// Died by `signal` (no core dump), as a program does that re-raises it after tidying up.
// Skips the test, with the reason, when something it needs is missing; in CI
// (CI=true), where nothing may skip, fails it instead.
#define TESSALY_REQUIRE(condition, why)                                                              \
    if (!(condition)) {                                                                              \
        if (::tessaly::testing::InCi()) FAIL() << (why) << ", and CI must run every end-to-end test"; \
        GTEST_SKIP() << (why);                                                                       \
    }

::testing::AssertionResult EndedBySignal(Process& p, int signal, double seconds = kEndSeconds);

}  // namespace e2e
