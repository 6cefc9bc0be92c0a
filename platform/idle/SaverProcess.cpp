#include "SaverProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "shell/Printable.h"

namespace tessaly {

SaverProcess::~SaverProcess() {
    if (pid_ > 0) kill(pid_, SIGTERM);
}

bool SaverProcess::Start(EventLoop& loop, const std::string& program, const std::vector<std::string>& arguments,
                         std::function<void(int)> ended, std::string& error) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // The child tells through this pipe why it could not run the program; it
    // closes unread when the program runs.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = "cannot start the saver: " + std::string(std::strerror(errno));
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);  // the watcher is gone already
        execv(argv[0], argv.data());
        const int reason = errno;
        (void)!write(report[1], &reason, sizeof reason);
        _exit(127);
    }
    close(report[1]);
    int reason = pid < 0 ? errno : 0;
    ssize_t told = 0;
    while (pid > 0 && (told = read(report[0], &reason, sizeof reason)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (pid > 0 && told == sizeof reason) waitpid(pid, nullptr, 0);
    if (pid < 0 || told == sizeof reason) {
        error = "cannot run the saver " + Printable(program) + ": " + std::strerror(reason);
        return false;
    }
    pid_ = pid;
    watch_.Attach(loop, pid, [this, ended = std::move(ended)](int status) {
        pid_ = 0;
        ended(status);
    });
    return loop.Ok(error);
}

}  // namespace tessaly
