// The system's own words for an error code, as a message may show them.
#pragma once

#include <windows.h>

#include <string>

namespace tessaly::win32 {

// FormatMessage's text for `code` on one line, without its closing full stop
// ("Access is denied" for 5), or "error N" where the system has none. A
// failure that left no code (ERROR_SUCCESS) has "no reason given".
std::string SystemErrorText(DWORD code);

}  // namespace tessaly::win32
