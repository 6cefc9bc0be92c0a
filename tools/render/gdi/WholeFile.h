// A file written whole or not at all, as the Linux renderer writes its files:
// the bytes go to a temporary beside it (".NAME.tmp-PID-N", in the same
// folder, so the rename cannot cross volumes), which then replaces the file
// in one step. A failed write removes the temporary and leaves an earlier
// file as it was.
#pragma once

#include <string>

namespace tessaly::win32 {

// False, with "cannot write PATH: REASON" in `error` (the path escaped, the
// reason the system's), when the file could not be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace tessaly::win32
