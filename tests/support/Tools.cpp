#include "Tools.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace tessaly::testing {

bool InCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

std::string FindOnPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && access((dir + "/" + tool).c_str(), X_OK) == 0) return dir + "/" + tool;
    }
    return "";
}

int MissingToolsExitCode(std::initializer_list<const char*> tools, const char* hint) {
    for (const char* tool : tools) {
        if (!FindOnPath(tool).empty()) continue;
        if (InCi()) {
            std::fprintf(stderr, "FAIL: %s is not installed (%s), and CI must run every test\n", tool, hint);
            return 1;
        }
        std::fprintf(stderr, "SKIP: %s is not installed (%s)\n", tool, hint);
        return 77;
    }
    return 0;
}

}  // namespace tessaly::testing
