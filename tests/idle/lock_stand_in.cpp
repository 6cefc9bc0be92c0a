// Stands in for the lock's two answerers, which do not run headless here:
// systemd-logind on the system bus (the test's own, DBUS_SYSTEM_BUS_ADDRESS:
// LockSession and GetSessionByPID, which answers session "c1"), and with
// --gnome GNOME's shell on the session bus (org.gnome.ScreenSaver.Lock). It
// records each call as a line on stdout ("LockSession ID", "Lock"), after
// "ready" once its names are taken.
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <cerrno>
#include <cstdio>
#include <initializer_list>
#include <cstring>

namespace {

int OnLockSession(sd_bus_message* call, void*, sd_bus_error*) {
    const char* id = nullptr;
    if (sd_bus_message_read(call, "s", &id) < 0) return -EINVAL;
    std::printf("LockSession %s\n", id);
    std::fflush(stdout);
    return sd_bus_reply_method_return(call, "");
}

int OnGetSessionByPid(sd_bus_message* call, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(call, "o", "/org/freedesktop/login1/session/c1");
}

int OnLock(sd_bus_message* call, void*, sd_bus_error*) {
    std::printf("Lock\n");
    std::fflush(stdout);
    return sd_bus_reply_method_return(call, "");
}

const sd_bus_vtable kLogind[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("LockSession", "s", "", OnLockSession, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetSessionByPID", "u", "o", OnGetSessionByPid, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};
const sd_bus_vtable kShell[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Lock", "", "", OnLock, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

}  // namespace

int main(int argc, char** argv) {
    const bool gnome = argc > 1 && std::strcmp(argv[1], "--gnome") == 0;
    sd_bus* system = nullptr;
    sd_bus* session = nullptr;
    bool ok = sd_bus_open_system(&system) >= 0 &&
              sd_bus_add_object_vtable(system, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                       kLogind, nullptr) >= 0 &&
              sd_bus_request_name(system, "org.freedesktop.login1", 0) >= 0;
    if (ok && gnome)
        ok = sd_bus_open_user(&session) >= 0 &&
             sd_bus_add_object_vtable(session, nullptr, "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver", kShell,
                                      nullptr) >= 0 &&
             sd_bus_request_name(session, "org.gnome.ScreenSaver", 0) >= 0;
    if (!ok) return std::fprintf(stderr, "lock_stand_in: cannot take its names\n"), 1;
    std::printf("ready\n");
    std::fflush(stdout);
    sd_event* loop = nullptr;
    sd_event_default(&loop);
    for (sd_bus* bus : {system, session})
        if (bus != nullptr) sd_bus_attach_event(bus, loop, 0);
    return sd_event_loop(loop) < 0;
}
