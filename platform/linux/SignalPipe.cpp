#include "SignalPipe.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tessaly {

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
int writeFd = -1;

void OnSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (writeFd >= 0) {
        // Non-blocking: a full pipe already holds a request to end.
        [[maybe_unused]] const ssize_t n = write(writeFd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

SignalPipe::SignalPipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readFd_ = fds[0];
    writeFd = fds[1];
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndingSignals) sigaction(signal, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    if (readFd_ < 0) return;
    for (int signal : kEndingSignals) ::signal(signal, SIG_DFL);
    close(writeFd);
    writeFd = -1;
    close(readFd_);
}

int SignalPipe::Take() {
    int last = 0;
    unsigned char buffer[16];
    for (;;) {
        const ssize_t n = read(readFd_, buffer, sizeof buffer);
        if (n > 0) {
            last = buffer[n - 1];
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return last;
    }
}

void EndBySignal(int signal) {
    std::fflush(nullptr);
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);  // not reached: the default action of every ending signal ends the process
}

}  // namespace tessaly
