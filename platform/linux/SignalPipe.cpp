#include "SignalPipe.h"

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tessaly {

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The deadline's timer speaks by SIGALRM, which nothing else in the program uses.
constexpr int kDeadlineSignal = SIGALRM;
constexpr long kDeadlineNs = 500'000'000;

int writeFd = -1;
timer_t deadline;
volatile sig_atomic_t endingSignal = 0;  // the first that came

// Async-signal-safe: the default action back, the signal unblocked and raised.
[[noreturn]] void DieBy(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);  // not reached: the default action of every signal used here ends the process
}

void OnSignal(int signal) {
    const int savedErrno = errno;
    if (endingSignal == 0) {
        endingSignal = signal;
        const itimerspec once{{0, 0}, {0, kDeadlineNs}};
        timer_settime(deadline, 0, &once, nullptr);
    }
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (writeFd >= 0) {
        // Non-blocking: a full pipe already holds a request to end.
        [[maybe_unused]] const ssize_t n = write(writeFd, &byte, 1);
    }
    errno = savedErrno;
}

// An alarm from elsewhere, before any ending signal, ends the process as it always did.
void OnDeadline(int) { DieBy(endingSignal != 0 ? endingSignal : kDeadlineSignal); }

}  // namespace

SignalPipe::SignalPipe() {
    // Without a deadline the signals keep their default action, which ends
    // the process at once: never later than the signal asks.
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = kDeadlineSignal;
    if (timer_create(CLOCK_MONOTONIC, &event, &deadline) != 0) return;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        timer_delete(deadline);
        return;
    }
    readFd_ = fds[0];
    writeFd = fds[1];
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    // One handler at a time, so the first signal is the one the deadline ends by.
    for (int signal : kEndingSignals) sigaddset(&action.sa_mask, signal);
    sigaddset(&action.sa_mask, kDeadlineSignal);
    action.sa_flags = SA_RESTART;
    action.sa_handler = OnDeadline;
    sigaction(kDeadlineSignal, &action, nullptr);
    action.sa_handler = OnSignal;
    for (int signal : kEndingSignals) sigaction(signal, &action, nullptr);
}

SignalPipe::~SignalPipe() {
    if (readFd_ < 0) return;
    for (int signal : kEndingSignals) ::signal(signal, SIG_DFL);
    // From here no handler sets endingSignal. Once one came, what is left
    // (flushing the output) stays under its deadline.
    if (endingSignal == 0) {
        timer_delete(deadline);
        ::signal(kDeadlineSignal, SIG_DFL);
    }
    close(writeFd);
    writeFd = -1;
    close(readFd_);
}

int SignalPipe::Take() {
    bool told = false;
    unsigned char buffer[16];
    for (;;) {
        const ssize_t n = read(readFd_, buffer, sizeof buffer);
        if (n > 0) {
            told = true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // The handler records the signal before it writes: the one the deadline would end by.
        return told ? endingSignal : 0;
    }
}

void EndBySignal(int signal) {
    std::fflush(nullptr);
    DieBy(signal);
}

}  // namespace tessaly
