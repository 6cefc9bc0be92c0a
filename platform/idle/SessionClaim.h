// One watcher per session, with no bus needed: a lock file in the runtime
// folder ($XDG_RUNTIME_DIR), named for the display, held with flock for the
// watcher's life and let go by the system however it ends.
#pragma once

#include <sys/types.h>

#include <string>

namespace tessaly {

enum class Claim { Ours, Held, Failed };

class SessionClaim {
public:
    SessionClaim() = default;
    ~SessionClaim();
    SessionClaim(const SessionClaim&) = delete;
    SessionClaim& operator=(const SessionClaim&) = delete;

    // Claims the session of `display` (a Wayland socket or an X display
    // name). Held: another watcher has it (`holder` is its process id, 0
    // when unknown). Failed: with the reason in `error`.
    Claim Take(const std::string& display, pid_t& holder, std::string& error);

private:
    int fd_ = -1;
};

}  // namespace tessaly
