// What the Linux programs say to the user, and how.
#pragma once

#include <cstdio>
#include <string>

#include "shell/Printable.h"

namespace tessaly {

// Writes `text` (the help, the version) to `out` and flushes it; false with
// the system's reason in `error` when that fails (a full disk, a closed pipe).
bool WriteText(std::FILE* out, const std::string& text, std::string& error);

}  // namespace tessaly
