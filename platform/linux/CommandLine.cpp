#include "CommandLine.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "Messages.h"
#include "base/Decimal.h"
#include "settings/Settings.h"
#include "shell/ModeSwitch.h"

namespace tessaly {

namespace {

enum class OptionId { Root, Wallpaper, WindowId, Seed, CycleLength, Speed, Build, NoBuild, Display, Backend, Stats, Help, Version };

struct OptionRule {
    const char* name;  // accepted after one or two dashes, exactly
    OptionId id;
    bool takesValue;
};

// Matched by whole name before the mode switch is looked at, so that
// "-speed" or "-cycle-length" never count as the letters s or c.
constexpr OptionRule kOptions[] = {
    {"root", OptionId::Root, false},
    {"wallpaper", OptionId::Wallpaper, false},
    {"window-id", OptionId::WindowId, true},
    {"seed", OptionId::Seed, true},
    {"cycle-length", OptionId::CycleLength, true},
    {"speed", OptionId::Speed, true},
    {"build", OptionId::Build, false},
    {"no-build", OptionId::NoBuild, false},
    {"display", OptionId::Display, true},
    {"backend", OptionId::Backend, true},
    {"stats", OptionId::Stats, false},
    {"help", OptionId::Help, false},
    {"h", OptionId::Help, false},
    {"version", OptionId::Version, false},
};

struct NumberRule {
    OptionId id;
    long long min, max;
};

// The overrides accept what the settings file accepts at start-up.
constexpr NumberRule kNumberRules[] = {
    {OptionId::Seed, 0, 0xFFFFFFFFLL},
    {OptionId::CycleLength, kSettingRules[kCycleLengthSetting].min, kSettingRules[kCycleLengthSetting].max},
    {OptionId::Speed, kSettingRules[kSpeedSetting].min, kSettingRules[kSpeedSetting].max},
};

// "--name", "-name", "--name=value", "-name=value": the rule and any inline value.
const OptionRule* FindOption(const char* argument, const char*& inlineValue) {
    inlineValue = nullptr;
    if (argument[0] != '-') return nullptr;
    const char* name = argument + (argument[1] == '-' ? 2 : 1);
    const char* equals = std::strchr(name, '=');
    const std::size_t length = equals ? static_cast<std::size_t>(equals - name) : std::strlen(name);
    for (const OptionRule& rule : kOptions) {
        if (std::strlen(rule.name) == length && std::strncmp(rule.name, name, length) == 0) {
            if (equals != nullptr) {
                if (!rule.takesValue) return nullptr;
                inlineValue = equals + 1;
            }
            return &rule;
        }
    }
    return nullptr;
}

bool ParseDecimal(const char* text, long long min, long long max, long long& value) {
    return text != nullptr && tessaly::ParseDecimal(std::string_view(text), min, max, value);
}

std::string Quoted(const char* text) { return "'" + Printable(text) + "'"; }

// A failure with its one-line reason.
bool Refuse(std::string& reason, std::string text) {
    reason = std::move(text);
    return false;
}

}  // namespace

bool ParseWindowId(const char* text, unsigned long& id) {
    if (text == nullptr) return false;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0') return false;
    unsigned long long value = 0;
    for (; *text != '\0'; ++text) {
        int digit;
        if (*text >= '0' && *text <= '9') digit = *text - '0';
        else if (base == 16 && *text >= 'a' && *text <= 'f') digit = *text - 'a' + 10;
        else if (base == 16 && *text >= 'A' && *text <= 'F') digit = *text - 'A' + 10;
        else return false;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) return false;
    }
    if (value == 0) return false;
    id = static_cast<unsigned long>(value);
    return true;
}

bool ParseCommandLine(int argc, const char* const* argv, const char* xscreensaverWindow, CommandLine& result,
                      std::string& error) {
    result = CommandLine{};
    const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "tessaly";
    std::vector<const char*> positional{program};
    bool root = false;
    bool wallpaper = false;
    std::optional<unsigned long> windowOption;

    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = nullptr;
        const OptionRule* rule = FindOption(argument, value);
        if (rule == nullptr) {
            // "--" always begins an option; after the mode switch so does "-",
            // so that a typo there is never taken for more arguments.
            if (argument[0] == '-' && (argument[1] == '-' || positional.size() > 1))
                return Refuse(error, "unknown option " + Quoted(argument));
            positional.push_back(argument);
            continue;
        }
        if (rule->id == OptionId::Help) {
            result.mode = LinuxMode::Help;
            return true;
        }
        if (rule->id == OptionId::Version) {
            result.mode = LinuxMode::Version;
            return true;
        }
        if (rule->takesValue && value == nullptr) {
            if (i + 1 >= argc) return Refuse(error, Quoted(argument) + " needs a value");
            value = argv[++i];
        }
        long long number = 0;
        for (const NumberRule& numberRule : kNumberRules) {
            if (numberRule.id == rule->id && !ParseDecimal(value, numberRule.min, numberRule.max, number))
                return Refuse(error, Quoted(argument) + " takes a whole number from " +
                                         std::to_string(numberRule.min) + " to " + std::to_string(numberRule.max) +
                                         ", not " + Quoted(value));
        }
        switch (rule->id) {
            case OptionId::Root: root = true; break;
            case OptionId::Wallpaper: wallpaper = true; break;
            case OptionId::WindowId: {
                unsigned long id = 0;
                if (!ParseWindowId(value, id))
                    return Refuse(error,
                                  Quoted(argument) + " takes an X window id (decimal or 0x hex), not " + Quoted(value));
                windowOption = id;
                break;
            }
            case OptionId::Seed: result.seed = static_cast<uint32_t>(number); break;
            case OptionId::CycleLength: result.cycleLength = static_cast<int32_t>(number); break;
            case OptionId::Speed: result.speed = static_cast<int32_t>(number); break;
            case OptionId::Build: result.build = 1; break;
            case OptionId::NoBuild: result.build = 0; break;
            case OptionId::Display: result.display = value; break;
            case OptionId::Backend:
                if (std::strcmp(value, "x11") == 0) result.backend = DisplayBackend::X11;
                else if (std::strcmp(value, "wayland") == 0) result.backend = DisplayBackend::Wayland;
                else return Refuse(error, Quoted(argument) + " takes x11 or wayland, not " + Quoted(value));
                break;
            case OptionId::Stats: result.stats = true; break;
            case OptionId::Help:
            case OptionId::Version: break;
        }
    }

    if (positional.size() > 1) {
        // A mode switch decides; XSCREENSAVER_WINDOW is then not consulted.
        if (root || windowOption || wallpaper)
            return Refuse(error, "--root, --window-id and --wallpaper cannot be combined with the mode switch " +
                                     Quoted(positional[1]));
        switch (ParseModeSwitch(static_cast<int>(positional.size()), positional.data())) {
            case RunMode::Settings: result.mode = LinuxMode::Settings; return true;
            case RunMode::Saver: result.mode = LinuxMode::Saver; return true;
            case RunMode::Preview:
                if (result.backend == DisplayBackend::Wayland)
                    return Refuse(error, "preview draws inside an X window: --backend wayland is for /s and /c");
                if (positional.size() < 3) return Refuse(error, "preview needs the id of the window to draw in: -p ID");
                if (!ParseWindowId(positional[2], result.windowId))
                    return Refuse(error,
                                  "preview needs an X window id (decimal or 0x hex), not " + Quoted(positional[2]));
                result.mode = LinuxMode::Preview;
                return true;
            case RunMode::None: break;
        }
        return Refuse(error, "unknown mode or option " + Quoted(positional[1]));
    }
    // The wallpaper is Wayland's (started by a lock screen it may have no
    // WAYLAND_DISPLAY, only a socket handed over); on X11 --root is one.
    if (wallpaper) {
        if (root || windowOption) return Refuse(error, "--wallpaper cannot be combined with --root or --window-id");
        if (result.backend == DisplayBackend::X11)
            return Refuse(error, "--wallpaper is for Wayland; on X11 the wallpaper is --root");
        result.mode = LinuxMode::Wallpaper;
        return true;
    }
    // The XScreenSaver modes draw into X windows.
    if (result.backend == DisplayBackend::Wayland && (root || windowOption))
        return Refuse(error, "--root and --window-id draw into X windows: --backend wayland is for /s and /c");
    if (windowOption) {
        result.mode = LinuxMode::XScreenSaverWindow;
        result.windowId = *windowOption;
        return true;
    }
    // XScreenSaver hands its window over in the environment, with or
    // without --root on the command line.
    if (xscreensaverWindow != nullptr && *xscreensaverWindow != '\0') {
        if (!ParseWindowId(xscreensaverWindow, result.windowId))
            return Refuse(error, "XSCREENSAVER_WINDOW is not an X window id: " + Quoted(xscreensaverWindow));
        result.mode = LinuxMode::XScreenSaverWindow;
        return true;
    }
    result.mode = root ? LinuxMode::XScreenSaverRoot : LinuxMode::Settings;
    return true;
}

DisplayBackend ChooseBackend(const CommandLine& commandLine, const char* waylandDisplay) {
    if (commandLine.backend) return *commandLine.backend;
    if (commandLine.display) return DisplayBackend::X11;
    return waylandDisplay != nullptr && *waylandDisplay != '\0' ? DisplayBackend::Wayland : DisplayBackend::X11;
}

std::string UsageText(const char* program) {
    std::string p = program;
    return "Usage: " + p + " [MODE] [OPTIONS]\n"
           "Tessaly paints an endless garden of flowers, autumn leaves and snow.\n"
           "\n"
           "Modes (the letter alone or after / or -; the long options after - or --):\n"
           "  /s, -s              full-screen screen saver; ends on a key, a click or moving the mouse\n"
           "                      (on every output of a Wayland session, see --backend)\n"
           "  /p ID, -p ID        draw inside the X window ID (decimal or 0x hex) until it is destroyed\n"
           "  /c, -c              settings (also with no argument outside XScreenSaver)\n"
           "  --root              XScreenSaver: draw on the root window, or into\n"
           "                      $XSCREENSAVER_WINDOW when that is set\n"
           "  --window-id ID      XScreenSaver: draw into the X window ID\n"
           "  --wallpaper         Wayland: the garden under the windows, on every output's\n"
           "                      background layer, until SIGTERM or SIGINT (also as a lock\n"
           "                      screen's background); on X11, --root is the wallpaper\n"
           "\n"
           "Options for this run only (the settings file stays as it is; under\n"
           "XScreenSaver they are the only settings, the file is not read):\n"
           "  --cycle-length N    scenes of one kind before the next, x40 (1..1000)\n"
           "  --speed N           0 (slow) .. 100 (fast): a tick every 505-5N ms\n"
           "  --build, --no-build show each drawing figure by figure, or at once\n"
           "  --seed S            start the garden from seed S (0..4294967295); without it\n"
           "                      the seed mixes the clock in nanoseconds with the process id,\n"
           "                      so two runs (one per monitor) never share a garden\n"
           "  --display NAME      the X display to use instead of $DISPLAY\n"
           "  --backend x11|wayland\n"
           "                      where /s runs (and /c shows); default: Wayland when\n"
           "                      $WAYLAND_DISPLAY is set and no --display is given, else X11\n"
           "  --help, --version\n"
           "\n"
           "Settings are kept in $XDG_CONFIG_HOME/tessaly/tessaly.ini (~/.config/tessaly/tessaly.ini).\n";
}

std::string VersionText() { return "tessaly " TESSALY_VERSION "\n"; }

}  // namespace tessaly
