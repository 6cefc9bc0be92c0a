// tessaly: the garden as an X11 screen saver, a preview inside another
// program's window, and an XScreenSaver display mode; on Wayland the saver
// and the wallpaper. Start-up as on every
// platform: settings loaded, generator seeded once, then the mode switch.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "AutostartEntry.h"
#include "CommandLine.h"
#include "FreshSeed.h"
#include "HandOver.h"
#include "Messages.h"
#include "Run.h"
#include "SettingsDialog.h"
#include "SettingsFile.h"
#include "SignalPipe.h"
#include "settings/Settings.h"
#include "shell/ExitCodes.h"

using namespace tessaly;

namespace {

constexpr int kHeapKeptBytes = 4 << 20;

int RunSettingsMode(GardenState& state, SettingsFile& file, int argc, char** argv) {
    DialogSettings settings;
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRule& rule = kSettingRules[i];
        settings.values[i] = IsGardenSetting(rule) ? state.*rule.field : LoadSetting(file, rule);
    }
    const bool startedWhenIdle = settings.startWhenIdle = AutostartEntryExists();
    DialogAnswer answer = DialogAnswer::Cancel;
    std::string error;
    // Cancel writes nothing; a dialog that could not be shown is an error.
    if (!RunSettingsDialog(state, file.Path(), settings, argc, argv, answer, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }
    if (answer == DialogAnswer::Cancel) return kExitOk;
    bool stored = true;
    for (int i = 0; i < kSettingCount && stored; ++i) stored = WriteSetting(file, kSettingRules[i], settings.values[i], error);
    // The autostart entry is touched only when its box changed: one the user edited stays.
    if (!stored || !file.Commit(error) ||
        (settings.startWhenIdle != startedWhenIdle && !SetAutostartEntry(settings.startWhenIdle, error))) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

// XScreenSaver's settings program shows its sliders at their defaults and
// passes only what differs, so there the command line is the whole truth.
bool SettingsFromCommandLineOnly(LinuxMode mode) {
    return mode == LinuxMode::XScreenSaverRoot || mode == LinuxMode::XScreenSaverWindow;
}

}  // namespace

int main(int argc, char** argv) {
    // A paint's working memory comes back at every paint: the C library
    // would hand the top of the heap back to the kernel after each one and
    // take fresh pages, page faults and all, at the next.
    mallopt(M_TRIM_THRESHOLD, kHeapKeptBytes);
    CommandLine commandLine;
    if (std::string error; !ParseCommandLine(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), commandLine, error)) {
        std::fprintf(stderr, "tessaly: %s (see tessaly --help)\n", error.c_str());
        return kExitUsage;
    }
    if (commandLine.mode == LinuxMode::Help || commandLine.mode == LinuxMode::Version) {
        const bool help = commandLine.mode == LinuxMode::Help;
        if (std::string error; !WriteText(stdout, help ? UsageText("tessaly") : VersionText(), error)) {
            std::fprintf(stderr, "tessaly: cannot write the %s: %s\n", help ? "help" : "version", error.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }

    // The watcher is a program of its own, small enough to stay all session.
    if (std::string error; commandLine.mode == LinuxMode::Idle && !HandOverIdleMode(argv, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }
    if (std::string error; commandLine.mode == LinuxMode::Settings && !HandOverSettingsMode(argv, error)) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }

    SettingsFile file(SettingsFilePath());
    if (!SettingsFromCommandLineOnly(commandLine.mode)) {
        if (std::string warning; !file.Read(warning))
            std::fprintf(stderr, "tessaly: %s\n", warning.c_str());
    }
    GardenState state;
    LoadSettings(file, state);  // a file left unread holds nothing: the built-in defaults
    state.random.Seed(commandLine.seed ? *commandLine.seed : FreshSeed());

    const bool wayland = ChooseBackend(commandLine, std::getenv("WAYLAND_DISPLAY")) == DisplayBackend::Wayland;
    if (commandLine.mode == LinuxMode::Settings) {
        // A forced backend holds for the dialog too; otherwise GTK chooses.
        if (commandLine.backend) setenv("GDK_BACKEND", wayland ? "wayland" : "x11", 1);
        return RunSettingsMode(state, file, argc, argv);
    }

    // One run's overrides; the file keeps what it holds.
    for (int i = 0; i < kSettingCount; ++i)
        if (commandLine.settings[i]) state.*kSettingRules[i].field = *commandLine.settings[i];
    const Warn warn = [](const std::string& line) { std::fprintf(stderr, "tessaly: %s\n", line.c_str()); };
    DrawingEnd end;
    std::string error;
    const bool onWayland = commandLine.mode == LinuxMode::Wallpaper || (commandLine.mode == LinuxMode::Saver && wayland);
    const bool ran = onWayland ? RunOnWayland(commandLine, state, warn, end, error)
                               : RunOnX11(commandLine, state, warn, end, error);
    if (!ran) {
        std::fprintf(stderr, "tessaly: %s\n", error.c_str());
        return kExitFailed;
    }
    if (end.signal != 0) EndBySignal(end.signal);
    return kExitOk;
}
