#include "IdleRun.h"

#include <sys/epoll.h>

#include <cstdlib>
#include <memory>

#include "Bus.h"
#include "MutterIdle.h"
#include "SettingsWatch.h"
#include "Watcher.h"
#include "WaylandIdle.h"
#include "X11Idle.h"
#include "settings/Settings.h"

namespace tessaly {

namespace {

constexpr int64_t kMsPerSecond = 1000;

// A time of the watcher's settings: this run's option, else the file's minutes.
int64_t TimeMs(const CommandLine& commandLine, SettingsFile& file, int row) {
    if (commandLine.seconds[row]) return *commandLine.seconds[row] * kMsPerSecond;
    return LoadSetting(file, kSettingRules[row]) * 60 * kMsPerSecond;
}

bool Refuse(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

// Where the idle count comes from: what the compositor or the X server
// offers, else GNOME's idle monitor on the session bus.
struct Source {
    std::unique_ptr<WaylandIdle> wayland;  // kept on GNOME too: the session ends with it
    std::unique_ptr<X11Idle> x11;
    std::unique_ptr<MutterIdle> mutter;
    IdleSource* counting = nullptr;
};

bool FindSource(const CommandLine& commandLine, DisplayBackend backend, sd_bus* session, EventLoop& loop,
                Source& source, std::string& error) {
    if (backend == DisplayBackend::X11) {
        source.x11 = std::make_unique<X11Idle>();
        if (!source.x11->Connect(commandLine.display ? commandLine.display->c_str() : nullptr, error)) return false;
        if (source.x11->XScreenSaverRuns())
            return Refuse(error, "XScreenSaver's daemon runs on this display and starts the screen saver itself: "
                                 "add Tessaly to its display modes instead (tessaly --root; see man tessaly)");
        source.counting = source.x11.get();
        return true;
    }
    source.wayland = std::make_unique<WaylandIdle>();
    if (!source.wayland->Connect(error)) return false;
    if (source.wayland->Counts()) {
        source.counting = source.wayland.get();
        return true;
    }
    if (session != nullptr) source.mutter = std::make_unique<MutterIdle>(session);
    if (!source.mutter || !source.mutter->Present())
        return Refuse(error, "the compositor tells no program when the user is idle: it offers neither "
                             "ext_idle_notifier_v1 nor org_kde_kwin_idle, and GNOME's idle monitor is not on "
                             "the session bus");
    source.wayland->WatchConnection(loop);
    source.counting = source.mutter.get();
    return true;
}

}  // namespace

std::string SessionDisplay(const CommandLine& commandLine) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (ChooseBackend(commandLine, wayland) == DisplayBackend::Wayland)
        return wayland != nullptr && *wayland != '\0' ? wayland : "wayland-0";
    if (commandLine.display) return *commandLine.display;
    const char* x11 = std::getenv("DISPLAY");
    return x11 != nullptr ? x11 : "";
}

bool RunIdleWatcher(const CommandLine& commandLine, const std::string& saver, SettingsFile& file, SignalPipe& signals,
                    const Warn& warn, DrawingEnd& end, std::string& error) {
    EventLoop loop;
    tessaly::Watch signalled;
    if (signals.Ok())
        signalled.Attach(loop, signals.ReadFd(), EPOLLIN, [&](uint32_t) {
            end.signal = signals.Take();
            loop.Quit();
        });
    if (!loop.Ok(error)) return false;

    const DisplayBackend backend = ChooseBackend(commandLine, std::getenv("WAYLAND_DISPLAY"));
    // The session bus is for GNOME's idle count and inhibitors, the X11
    // inhibitors and GNOME's lock; a desktop without one does without them.
    std::string noBus;
    BusPtr session = OpenBus(loop, BusKind::Session, noBus);
    Source source;
    if (!FindSource(commandLine, backend, session.get(), loop, source, error)) return false;

    SessionInhibitors inhibitors(session.get());
    ScreenSaverService service;
    SessionLock lock(loop, session.get(), warn);
    Watcher watcher({loop, *source.counting, inhibitors, service, lock},
                    {saver, SaverArguments(commandLine, backend)}, warn, commandLine.stats);
    if (backend == DisplayBackend::X11 && !service.Offer(session.get(), [&] { watcher.InhibitorsChanged(); }, error))
        return false;

    SettingsWatch settings;
    const auto reload = [&] {
        if (std::string warning; !file.Read(warning)) warn(warning);
        watcher.SetTimes(TimeMs(commandLine, file, kIdleWaitSetting), TimeMs(commandLine, file, kLockAfterSetting));
    };
    if (!settings.Start(loop, file.Path(), reload, error)) return false;
    if (!watcher.Start(TimeMs(commandLine, file, kIdleWaitSetting), TimeMs(commandLine, file, kLockAfterSetting),
                       error))
        return false;
    if (signals.Ok() && (end.signal = signals.Take()) != 0) return true;  // one that came during start-up
    return loop.Run(error);
}

}  // namespace tessaly
