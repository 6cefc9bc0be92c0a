#include "SessionLock.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tessaly {

namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
constexpr const char* kSessionPaths = "/org/freedesktop/login1/session";
constexpr const char* kShell = "org.gnome.ScreenSaver";

}  // namespace

void SessionLock::Lock() {
    pending_ = 0;
    locked_ = false;
    failure_.clear();
    std::string error;
    // GNOME's shell, where it runs: not being GNOME is no failure.
    MessagePtr shellCall = sessionBus_ != nullptr ? NewCall(sessionBus_, kShell, "/org/gnome/ScreenSaver", kShell, "Lock") : nullptr;
    if (shellCall && shell_.Send(sessionBus_, std::move(shellCall), [this](sd_bus_message*, const sd_bus_error* failed) {
            Answered(failed == nullptr, "");
        }, error))
        ++pending_;

    ++pending_;
    if (!systemBus_) systemBus_ = OpenBus(loop_, BusKind::System, error);
    if (!systemBus_) return Answered(false, error);
    const char* id = std::getenv("XDG_SESSION_ID");
    if (id != nullptr && *id != '\0') return LockSession(id);
    // Outside a login's environment: the session this process belongs to.
    MessagePtr find = NewCall(systemBus_.get(), kLogind, kLogindPath, kLogindManager, "GetSessionByPID");
    if (find) sd_bus_message_append(find.get(), "u", static_cast<uint32_t>(getpid()));
    if (!logind_.Send(systemBus_.get(), std::move(find), [this](sd_bus_message* reply, const sd_bus_error* failed) {
            const char* path = nullptr;
            char* found = nullptr;
            if (failed != nullptr || sd_bus_message_read(reply, "o", &path) < 0 ||
                sd_bus_path_decode(path, kSessionPaths, &found) <= 0)
                return Answered(false, "no login session: " + BusErrorText(failed, ENOENT));
            const std::string session = found;
            std::free(found);
            LockSession(session);
        }, error))
        Answered(false, error);
}

void SessionLock::LockSession(const std::string& id) {
    std::string error;
    MessagePtr call = NewCall(systemBus_.get(), kLogind, kLogindPath, kLogindManager, "LockSession");
    if (call) sd_bus_message_append(call.get(), "s", id.c_str());
    if (!logind_.Send(systemBus_.get(), std::move(call), [this](sd_bus_message*, const sd_bus_error* failed) {
            Answered(failed == nullptr, failed != nullptr ? "systemd-logind: " + BusErrorText(failed, EPROTO) : "");
        }, error))
        Answered(false, error);
}

void SessionLock::Answered(bool locked, const std::string& failure) {
    locked_ = locked_ || locked;
    if (failure_.empty()) failure_ = failure;
    if (--pending_ == 0 && !locked_) warn_("cannot lock the session: " + failure_);
}

}  // namespace tessaly
