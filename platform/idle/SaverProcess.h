// The saver as the watcher's child: `tessaly /s` in a process of its own, so
// a crash of a saver never takes the watcher down and its memory goes back
// between runs. It dies with the watcher (SIGTERM), however that ends.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "linux/EventLoop.h"

namespace tessaly {

class SaverProcess {
public:
    ~SaverProcess();
    // Runs `program` with `arguments` (after argv[0]); `ended` gets its wait
    // status once it has ended. False, with the reason, when it cannot run.
    // SIGCHLD must be blocked.
    bool Start(EventLoop& loop, const std::string& program, const std::vector<std::string>& arguments,
               std::function<void(int status)> ended, std::string& error);
    bool Running() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = 0;
    ChildWatch watch_;
};

}  // namespace tessaly
