#include "XErrors.h"

#include <unistd.h>

#include <cstdio>

#include "shell/ExitCodes.h"

namespace tessaly {

namespace {

XErrorRecord pendingError;

int RecordError(Display*, XErrorEvent* event) {
    if (pendingError.code == 0) {
        pendingError.code = event->error_code;
        pendingError.resource = event->resourceid;
        pendingError.request = event->request_code;
    }
    return 0;
}

// Xlib ends the process once this returns; say why first. _exit: nothing of
// ours needs flushing, and no destructor may touch the dead connection.
int ConnectionLost(Display*) {
    std::fputs("tessaly: lost the connection to the X server\n", stderr);
    std::fflush(stderr);
    _exit(kExitFailed);
}

}  // namespace

void InstallXErrorHandlers() {
    XSetErrorHandler(RecordError);
    XSetIOErrorHandler(ConnectionLost);
}

XErrorRecord TakeXError() {
    const XErrorRecord e = pendingError;
    pendingError = XErrorRecord{};
    return e;
}

}  // namespace tessaly
