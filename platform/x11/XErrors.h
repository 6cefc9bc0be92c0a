// How the program survives X errors: a protocol error (a window destroyed
// under us, an id that names no window) is recorded for the caller to act
// on, and a lost connection ends the program with one clear line.
#pragma once

#include <X11/Xlib.h>

namespace tessaly {

struct XErrorRecord {
    int code = 0;                  // 0: no error since the last TakeXError
    unsigned long resource = 0;    // the id the failed request named
    unsigned char request = 0;     // its major opcode
};

// Installs both handlers; call before the first X request.
void InstallXErrorHandlers();

// The first error recorded since the last call, then forgets it.
XErrorRecord TakeXError();

// True for the errors a vanished window or pixmap produces.
inline bool IsGoneError(const XErrorRecord& e) { return e.code == BadWindow || e.code == BadDrawable; }

}  // namespace tessaly
