// The Linux command line: the saver's shared mode switch (/s, -p ID, /c, ...)
// plus the options of an XScreenSaver display mode and the one-run overrides.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace tessaly {

enum class LinuxMode {
    Help,
    Version,
    Settings,            // /c, or nothing at all outside XScreenSaver
    Preview,             // -p ID: a child canvas covering window ID
    Saver,               // /s: the full-screen saver
    XScreenSaverRoot,    // --root without XSCREENSAVER_WINDOW: draw on the root window
    XScreenSaverWindow,  // --window-id ID or XSCREENSAVER_WINDOW: draw into that window
    Wallpaper,           // --wallpaper: the garden on the background layer of every Wayland output
    Idle,                // --idle: the watcher that starts the saver whenever the session is idle
};

// Where /s runs: an X server, or a Wayland compositor (one surface per output).
enum class DisplayBackend { X11, Wayland };

struct CommandLine {
    LinuxMode mode = LinuxMode::Settings;
    unsigned long windowId = 0;  // Preview and XScreenSaverWindow
    std::optional<uint32_t> seed;
    // One run's overrides of the file, by row of kSettingRules, each within
    // its row's min..max; a row of minutes is given in `seconds` instead.
    std::array<std::optional<int32_t>, kSettingCount> settings;
    // One run's times for the rows of minutes, in seconds ("--wait 5" is 300,
    // "--wait 8s" is 8), each within MinSeconds..MaxSeconds of its row.
    std::array<std::optional<int32_t>, kSettingCount> seconds;
    std::optional<std::string> display;  // --display NAME, else $DISPLAY
    std::optional<DisplayBackend> backend;  // --backend x11|wayland, else chosen by the session
    bool stats = false;                  // hidden: ticks, paints and memory once a second
};

// Parses argv. `xscreensaverWindow` is the value of XSCREENSAVER_WINDOW (null
// when unset). False, with a one-line message for the user in `error`, when
// the command line is not one we take.
bool ParseCommandLine(int argc, const char* const* argv, const char* xscreensaverWindow, CommandLine& result,
                      std::string& error);

// The backend of the saver: the one forced with --backend; else X11 when
// --display names an X display; else Wayland when `waylandDisplay` (the value
// of WAYLAND_DISPLAY) is set, since an X server under XWayland cannot cover
// Wayland windows; else X11.
DisplayBackend ChooseBackend(const CommandLine& commandLine, const char* waylandDisplay);

// An X window id: decimal, or hexadecimal after 0x / 0X; nonzero, 32 bits.
bool ParseWindowId(const char* text, unsigned long& id);

// The watcher's command line for the saver it starts: /s with this run's
// garden overrides, its seed, its display and `backend`.
std::vector<std::string> SaverArguments(const CommandLine& commandLine, DisplayBackend backend);

// How a setting is given on the command line: "--speed N", or for a flag
// "--build" and "--no-build" with `between` between them.
std::string SettingOptionSyntax(const SettingRule& rule, const char* between);

// Text of --help and --version.
std::string UsageText(const char* program);
std::string VersionText();

}  // namespace tessaly
