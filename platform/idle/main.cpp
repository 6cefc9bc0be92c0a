// tessaly-idle: the idle watcher that `tessaly --idle` hands over to. A small
// program of its own, for it stays for the whole session: it waits, without
// waking, until the user has been idle for the wait, starts the saver
// (`tessaly /s`, the program that handed over) on every monitor, and waits
// again once the saver has ended. One per session.
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "IdleRun.h"
#include "SessionClaim.h"
#include "linux/CommandLine.h"
#include "linux/HandOver.h"
#include "linux/SettingsFile.h"
#include "linux/SignalPipe.h"
#include "shell/ExitCodes.h"

using namespace tessaly;

int main(int argc, char** argv) {
    const std::size_t prefix = std::strlen(kSaverArgument);
    if (argc < 2 || std::strncmp(argv[1], kSaverArgument, prefix) != 0 || argv[1][prefix] != '/') {
        std::fprintf(stderr, "tessaly: tessaly-idle is started by tessaly --idle\n");
        return kExitUsage;
    }
    const std::string saver = argv[1] + prefix;
    // The rest is tessaly's own command line, checked there already.
    argv[1] = argv[0];
    CommandLine commandLine;
    if (std::string error; !ParseCommandLine(argc - 1, argv + 1, nullptr, commandLine, error) ||
                           commandLine.mode != LinuxMode::Idle) {
        std::fprintf(stderr, "tessaly: %s (see tessaly --help)\n", error.empty() ? "not --idle" : error.c_str());
        return kExitUsage;
    }

    SessionClaim claim;
    pid_t holder = 0;
    std::string error;
    switch (claim.Take(SessionDisplay(commandLine), holder, error)) {
        case Claim::Ours: break;
        case Claim::Held:
            std::printf("tessaly: the idle watcher runs in this session already (process %d)\n", static_cast<int>(holder));
            return kExitOk;
        case Claim::Failed: std::fprintf(stderr, "tessaly: %s\n", error.c_str()); return kExitFailed;
    }

    // The saver's end is heard through the event loop, never as a signal.
    sigset_t child;
    sigemptyset(&child);
    sigaddset(&child, SIGCHLD);
    sigprocmask(SIG_BLOCK, &child, nullptr);
    SignalPipe signals;
    SettingsFile file(SettingsFilePath());
    if (std::string warning; !file.Read(warning)) std::fprintf(stderr, "tessaly: %s\n", warning.c_str());
    const Warn warn = [](const std::string& line) { std::fprintf(stderr, "tessaly: %s\n", line.c_str()); };
    DrawingEnd end;
    if (!RunIdleWatcher(commandLine, saver, file, signals, warn, end, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }
    if (end.signal != 0) EndBySignal(end.signal);
    return kExitOk;
}
