// The end-to-end tests need Xvfb and xdotool, those named "...Monitors..."
// Xephyr too. Without them they skip (exit 77) with a message, except in CI
// (CI=true), where a missing tool fails.
#include <gtest/gtest.h>

#include <cstring>

#include "support/Tools.h"

int main(int argc, char** argv) {
    bool listing = false, monitors = true;
    for (int i = 1; i < argc; ++i) {
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
        if (std::strncmp(argv[i], "--gtest_filter=", 15) == 0) monitors = std::strstr(argv[i], "Monitors") != nullptr;
    }
    if (!listing) {
        if (const int code = tessaly::testing::MissingToolsExitCode(
                {"Xvfb", "xdotool", monitors ? "Xephyr" : "Xvfb"}, "apt-get install xvfb xdotool xserver-xephyr"))
            return code;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
