// The end-to-end tests need Xvfb and xdotool, those named "...Monitors..."
// Xephyr too. Without them they skip (exit 77) with a message, except in CI
// (CI=true), where a missing tool fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool OnPath(const char* tool) {
    const char* path = std::getenv("PATH");
    std::string paths = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= paths.size();) {
        size_t end = paths.find(':', start);
        if (end == std::string::npos) end = paths.size();
        const std::string candidate = paths.substr(start, end - start) + "/" + tool;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    bool listing = false, monitors = true;
    for (int i = 1; i < argc; ++i) {
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
        if (std::strncmp(argv[i], "--gtest_filter=", 15) == 0) monitors = std::strstr(argv[i], "Monitors") != nullptr;
    }
    if (!listing) {
        for (const char* tool : {"Xvfb", "xdotool", monitors ? "Xephyr" : "Xvfb"}) {
            if (OnPath(tool)) continue;
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::strcmp(ci, "true") == 0) {
                std::fprintf(stderr, "FAIL: %s is not installed, and CI must run every end-to-end test\n", tool);
                return 1;
            }
            std::fprintf(stderr, "SKIP: %s is not installed (apt-get install xvfb xdotool xserver-xephyr)\n", tool);
            return 77;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
