// SIGTERM, SIGINT and SIGHUP turned into bytes on a pipe that the event loop
// polls beside the X connection, so that a signal ends the saver through the
// same orderly teardown as a key press.
#pragma once

namespace tessaly {

class SignalPipe {
public:
    SignalPipe();  // installs the handlers; Ok() tells whether it worked
    ~SignalPipe(); // restores the default handlers and closes the pipe
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    bool Ok() const { return readFd_ >= 0; }
    int ReadFd() const { return readFd_; }
    // The signal that arrived (0 when none); drains the pipe.
    int Take();

private:
    int readFd_ = -1;
};

// Ends the process the way `signal` asks, after the program's own orderly
// teardown: output flushed, the default action restored, the signal raised
// again. A parent (XScreenSaver among them) then sees a death by that signal,
// not an exit, which it would take for a crash.
[[noreturn]] void EndBySignal(int signal);

}  // namespace tessaly
