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

enum class OptionId { Root, Wallpaper, Idle, WindowId, Seed, Setting, Display, Backend, Stats, Help, Version };

struct OptionRule {
    const char* name;  // accepted after one or two dashes, exactly
    OptionId id;
    bool takesValue;
};

// Besides these, each row of kSettingRules is an option: a number takes a
// value within the row's min..max (a row of minutes also "Ns", seconds), a
// flag (a check box) is set to 1 by its name and to 0 by "no-" and its name;
// the idle watcher's rows only with --idle. All are matched by whole name before
// the mode switch is looked at, so that "-speed" or "-cycle-length" never
// count as the letters s or c.
constexpr OptionRule kOptions[] = {
    {"root", OptionId::Root, false},
    {"wallpaper", OptionId::Wallpaper, false},
    {"idle", OptionId::Idle, false},
    {"window-id", OptionId::WindowId, true},
    {"seed", OptionId::Seed, true},
    {"display", OptionId::Display, true},
    {"backend", OptionId::Backend, true},
    {"stats", OptionId::Stats, false},
    {"help", OptionId::Help, false},
    {"h", OptionId::Help, false},
    {"version", OptionId::Version, false},
};

constexpr const char* kNegation = "no-";

// Where the usage text's descriptions begin, and how wide its lines may be.
constexpr std::size_t kUsageColumn = 22;
constexpr std::size_t kUsageWidth = 80;

struct FoundOption {
    OptionId id = OptionId::Help;
    bool takesValue = false;
    int setting = 0;       // the row of kSettingRules, for OptionId::Setting
    int32_t flagValue = 1;  // what a flag's name sets
};

// A setting's option name without its dashes.
const char* SettingName(const SettingRule& rule) { return rule.option + std::strspn(rule.option, "-"); }

bool FindSettingOption(std::string_view name, FoundOption& found) {
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRule& rule = kSettingRules[i];
        const std::string_view own = SettingName(rule);
        const bool negated = IsFlag(rule) && name.size() > std::strlen(kNegation) &&
                             name.substr(0, std::strlen(kNegation)) == kNegation &&
                             name.substr(std::strlen(kNegation)) == own;
        if (name == own || negated) {
            found = FoundOption{OptionId::Setting, !IsFlag(rule), i, negated ? 0 : 1};
            return true;
        }
    }
    return false;
}

// "--name", "-name", "--name=value", "-name=value": the option and any inline value.
bool FindOption(const char* argument, FoundOption& found, const char*& inlineValue) {
    inlineValue = nullptr;
    if (argument[0] != '-') return false;
    const char* start = argument + (argument[1] == '-' ? 2 : 1);
    const char* equals = std::strchr(start, '=');
    const std::string_view name(start, equals ? static_cast<std::size_t>(equals - start) : std::strlen(start));
    bool known = FindSettingOption(name, found);
    for (const OptionRule& rule : kOptions) {
        if (!known && name == rule.name) {
            found = FoundOption{rule.id, rule.takesValue};
            known = true;
        }
    }
    if (!known || (equals != nullptr && !found.takesValue)) return false;
    if (equals != nullptr) inlineValue = equals + 1;
    return true;
}

bool ParseDecimal(const char* text, long long min, long long max, long long& value) {
    return text != nullptr && tessaly::ParseDecimal(std::string_view(text), min, max, value);
}

std::string Quoted(const char* text) { return "'" + Printable(text) + "'"; }

// A row of minutes: "N" minutes within min..max, or "Ns" seconds within
// MinSeconds..MaxSeconds; the time in seconds.
bool ParseDuration(const SettingRule& rule, const char* text, long long& seconds) {
    const std::string_view value(text != nullptr ? text : "");
    if (!value.empty() && value.back() == 's')
        return tessaly::ParseDecimal(value.substr(0, value.size() - 1), MinSeconds(rule), MaxSeconds(rule), seconds);
    long long minutes = 0;
    if (!tessaly::ParseDecimal(value, rule.min, rule.max, minutes)) return false;
    seconds = minutes * 60;
    return true;
}

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
    bool idle = false;
    const char* watcherOption = nullptr;  // the first of the idle watcher's options given
    std::optional<unsigned long> windowOption;

    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = nullptr;
        FoundOption option;
        if (!FindOption(argument, option, value)) {
            // "--" always begins an option; after the mode switch so does "-",
            // so that a typo there is never taken for more arguments.
            if (argument[0] == '-' && (argument[1] == '-' || positional.size() > 1))
                return Refuse(error, "unknown option " + Quoted(argument));
            positional.push_back(argument);
            continue;
        }
        if (option.id == OptionId::Help) {
            result.mode = LinuxMode::Help;
            return true;
        }
        if (option.id == OptionId::Version) {
            result.mode = LinuxMode::Version;
            return true;
        }
        if (option.takesValue && value == nullptr) {
            if (i + 1 >= argc) return Refuse(error, Quoted(argument) + " needs a value");
            value = argv[++i];
        }
        long long number = 0;
        const SettingRule& setting = kSettingRules[option.setting];
        const bool duration = option.id == OptionId::Setting && setting.unit == SettingUnit::Minutes;
        if (duration && !ParseDuration(setting, value, number))
            return Refuse(error, Quoted(argument) + " takes minutes from " + std::to_string(setting.min) + " to " +
                                     std::to_string(setting.max) + ", or seconds as Ns up to " +
                                     std::to_string(MaxSeconds(setting)) + "s, not " + Quoted(value));
        const bool numeric =
            option.id == OptionId::Seed || (option.id == OptionId::Setting && option.takesValue && !duration);
        const long long min = option.id == OptionId::Seed ? 0 : setting.min;
        const long long max = option.id == OptionId::Seed ? 0xFFFFFFFFLL : setting.max;
        // The overrides accept what the settings file accepts at start-up.
        if (numeric && !ParseDecimal(value, min, max, number))
            return Refuse(error, Quoted(argument) + " takes a whole number from " + std::to_string(min) + " to " +
                                     std::to_string(max) + ", not " + Quoted(value));
        switch (option.id) {
            case OptionId::Root: root = true; break;
            case OptionId::Wallpaper: wallpaper = true; break;
            case OptionId::Idle: idle = true; break;
            case OptionId::WindowId: {
                unsigned long id = 0;
                if (!ParseWindowId(value, id))
                    return Refuse(error,
                                  Quoted(argument) + " takes an X window id (decimal or 0x hex), not " + Quoted(value));
                windowOption = id;
                break;
            }
            case OptionId::Seed: result.seed = static_cast<uint32_t>(number); break;
            case OptionId::Setting:
                if (!IsGardenSetting(setting) && watcherOption == nullptr) watcherOption = argument;
                if (duration) result.seconds[option.setting] = static_cast<int32_t>(number);
                else result.settings[option.setting] = option.takesValue ? static_cast<int32_t>(number) : option.flagValue;
                break;
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

    if (watcherOption != nullptr && !idle)
        return Refuse(error, Quoted(watcherOption) + " is an option of the idle watcher, --idle");
    if (positional.size() > 1) {
        // A mode switch decides; XSCREENSAVER_WINDOW is then not consulted.
        if (root || windowOption || wallpaper || idle)
            return Refuse(error, "--root, --window-id, --wallpaper and --idle cannot be combined with the mode switch " +
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
    // The watcher runs beside the session's windows, whatever XScreenSaver hands over.
    if (idle) {
        if (root || windowOption || wallpaper)
            return Refuse(error, "--idle cannot be combined with --root, --window-id or --wallpaper");
        result.mode = LinuxMode::Idle;
        return true;
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

std::vector<std::string> SaverArguments(const CommandLine& commandLine, DisplayBackend backend) {
    std::vector<std::string> arguments{"/s"};
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRule& rule = kSettingRules[i];
        if (!IsGardenSetting(rule) || !commandLine.settings[i]) continue;
        if (IsFlag(rule)) arguments.push_back(*commandLine.settings[i] != 0 ? rule.option : "--no-" + std::string(SettingName(rule)));
        else arguments.push_back(std::string(rule.option) + "=" + std::to_string(*commandLine.settings[i]));
    }
    if (commandLine.seed) arguments.push_back("--seed=" + std::to_string(*commandLine.seed));
    if (commandLine.display) arguments.push_back("--display=" + *commandLine.display);
    arguments.push_back(backend == DisplayBackend::Wayland ? "--backend=wayland" : "--backend=x11");
    if (commandLine.stats) arguments.push_back("--stats");
    return arguments;
}

std::string SettingOptionSyntax(const SettingRule& rule, const char* between) {
    if (IsFlag(rule)) return std::string(rule.option) + between + "--" + kNegation + SettingName(rule);
    return std::string(rule.option) + " N";
}

std::string UsageText(const char* program) {
    std::string p = program;
    std::string settingOptions, watcherOptions;
    for (const SettingRule& rule : kSettingRules)
        (IsGardenSetting(rule) ? settingOptions : watcherOptions) +=
            HelpEntry("  " + SettingOptionSyntax(rule, ", "), SettingHelp(rule, false), kUsageColumn, kUsageWidth);
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
           "  --idle              the idle watcher: starts /s on every monitor each time the\n"
           "                      computer has been idle for the wait, until the session ends\n"
           "\n"
           "Options for this run only (the settings file stays as it is; under\n"
           "XScreenSaver they are the only settings, the file is not read):\n" +
           settingOptions +
           "  --seed S            start the garden from seed S (0..4294967295); without it\n"
           "                      the seed mixes the clock in nanoseconds with the process id,\n"
           "                      so two runs (one per monitor) never share a garden\n"
           "  --display NAME      the X display to use instead of $DISPLAY\n"
           "  --backend x11|wayland\n"
           "                      where /s runs (and /c shows); default: Wayland when\n"
           "                      $WAYLAND_DISPLAY is set and no --display is given, else X11\n"
           "  --help, --version\n"
           "\n"
           "Options of --idle for this run only, each also in seconds as Ns (else the\n"
           "settings file's; the garden's options above go to the saver it starts):\n" +
           watcherOptions +
           "\n"
           "Settings are kept in $XDG_CONFIG_HOME/tessaly/tessaly.ini (~/.config/tessaly/tessaly.ini).\n";
}

std::string VersionText() { return "tessaly " TESSALY_VERSION "\n"; }

}  // namespace tessaly
