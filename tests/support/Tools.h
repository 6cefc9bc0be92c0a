// The C++ tests' one rule for missing tools: skip with a message (exit 77,
// which ctest reports as skipped), except in CI (CI=true), where nothing may
// be skipped and a missing tool fails.
#pragma once

#include <initializer_list>
#include <string>

namespace tessaly::testing {

bool InCi();
// The full path of `tool` on PATH, or "" when it is not there.
std::string FindOnPath(const std::string& tool);
// 0 when every tool is there; otherwise, after saying which is missing, the
// exit code the test program should end with (77, or 1 in CI).
int MissingToolsExitCode(std::initializer_list<const char*> tools, const char* hint);

}  // namespace tessaly::testing
