// SIGTERM, SIGINT and SIGHUP turned into bytes on a pipe that the event loop
// polls beside the display connection, so that a signal ends the saver
// through the same orderly teardown as a key press. The first of them also
// arms a deadline: a display server that does not answer (stopped, hung)
// would hold that teardown up for ever, and an idle daemon or a lock screen
// must see the saver go. Half a second after the signal the process dies by
// it, as if it had not been handled; the teardown normally finishes first.
#pragma once

namespace tessaly {

class SignalPipe {
public:
    // Installs the handlers; Ok() tells whether it worked. Make it before any
    // connection to the display: waits for the server must be cut short too.
    SignalPipe();
    // Restores the default handlers and closes the pipe. A deadline already
    // armed stays armed: the process is on its way to die by its signal.
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    bool Ok() const { return readFd_ >= 0; }
    int ReadFd() const { return readFd_; }
    // The first signal that arrived, once the pipe tells of one (else 0);
    // drains the pipe.
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
