// Text from outside as a message may show it, on every platform.
#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Text from outside (a path, a value read from a file) as a message may show
// it: on one line and free of terminal escapes. Printable ASCII and UTF-8
// letters stand as they are; every other byte (controls, C1 controls, broken
// UTF-8, and a backslash that an x follows) is written as \xNN, so every \x
// shown starts an escape.
std::string Printable(std::string_view text);

}  // namespace tessaly
