// The end-to-end tests need Xvfb and xdotool. Without them they skip (exit
// 77) with a message, except in CI (CI=true), where a missing tool fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "E2eHarness.h"

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    if (!listing) {
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (e2e::OnPath(tool)) continue;
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::strcmp(ci, "true") == 0) {
                std::fprintf(stderr, "FAIL: %s is not installed, and CI must run every end-to-end test\n", tool);
                return 1;
            }
            std::fprintf(stderr, "SKIP: %s is not installed (apt-get install xvfb xdotool)\n", tool);
            return 77;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
