// Runs real programs in scratch folders for end-to-end tests.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/Scratch.h"

namespace tessaly {

using testing::ReadFile;
using testing::ScratchFolder;

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts `program` in `folder` with stdout and stderr sent to the given files
// (stdout to `stdoutFd` instead, when one is given).
inline pid_t StartProgram(const std::string& program, const ScratchFolder& folder, const std::vector<std::string>& args,
                          const std::string& outPath, const std::string& errPath, int stdoutFd = -1) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.Path().c_str()) != 0) _exit(127);
        const int out = stdoutFd >= 0 ? stdoutFd : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        std::string name = program;
        argv.push_back(name.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

inline int WaitTool(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Runs `program` to the end; its output files live outside `folder`.
inline ToolResult RunProgram(const std::string& program, const ScratchFolder& folder,
                             const std::vector<std::string>& args) {
    ScratchFolder logs;
    ToolResult result;
    result.exitCode = WaitTool(StartProgram(program, folder, args, logs / "out", logs / "err"));
    result.out = ReadFile(logs / "out");
    result.err = ReadFile(logs / "err");
    return result;
}

}  // namespace tessaly
