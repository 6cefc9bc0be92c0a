#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "linux/CommandLine.h"

using namespace tessaly;

namespace {

struct Parsed {
    std::string error;
    CommandLine line;
};

Parsed Parse(std::initializer_list<const char*> args, const char* xscreensaverWindow = nullptr) {
    std::vector<const char*> argv{"tessaly"};
    argv.insert(argv.end(), args.begin(), args.end());
    Parsed p;
    const bool ok = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), xscreensaverWindow, p.line, p.error);
    EXPECT_EQ(ok, p.error.empty());
    return p;
}

LinuxMode ModeOf(std::initializer_list<const char*> args, const char* env = nullptr) {
    const Parsed p = Parse(args, env);
    EXPECT_EQ(p.error, "");
    return p.line.mode;
}

}  // namespace

TEST(WindowId, DecimalOrHexNonzeroThirtyTwoBits) {
    unsigned long id = 0;
    for (const auto& [text, value] : std::map<std::string, unsigned long>{
             {"1234", 1234}, {"0x1a00004", 0x1a00004}, {"0XFFFFFFFF", 0xFFFFFFFF}}) {
        EXPECT_TRUE(ParseWindowId(text.c_str(), id) && id == value) << text;
    }
    for (const char* bad : {"", "0", "0x", "0x0", "-5", "12ab", "0x1g", "4294967296", "0x100000000", " 12", "+3"})
        EXPECT_FALSE(ParseWindowId(bad, id)) << bad;
}

TEST(CommandLine, SharedModeSwitchesWork) {
    EXPECT_EQ(ModeOf({"/s"}), LinuxMode::Saver);
    EXPECT_EQ(ModeOf({"-S"}), LinuxMode::Saver);
    EXPECT_EQ(ModeOf({"/scr"}), LinuxMode::Saver);
    EXPECT_EQ(ModeOf({"/c"}), LinuxMode::Settings);
    EXPECT_EQ(ModeOf({"/c:1234"}), LinuxMode::Settings);
    EXPECT_EQ(ModeOf({"C"}), LinuxMode::Settings);
    EXPECT_EQ(ModeOf({}), LinuxMode::Settings);

    Parsed p = Parse({"-p", "0x400007", "ignored"});
    EXPECT_EQ(p.error, "");
    EXPECT_EQ(p.line.mode, LinuxMode::Preview);
    EXPECT_EQ(p.line.windowId, 0x400007ul);
    p = Parse({"/P", "77"});
    EXPECT_EQ(p.line.mode, LinuxMode::Preview);
    EXPECT_EQ(p.line.windowId, 77ul);
}

TEST(CommandLine, BadModeOrPreviewIdIsAnError) {
    for (auto args : {std::initializer_list<const char*>{"/Screen"}, {"//s"}, {"--bogus"}, {"x"}}) {
        const Parsed p = Parse(args);
        EXPECT_NE(p.error.find("unknown"), std::string::npos) << *args.begin();
    }
    EXPECT_NE(Parse({"-p"}).error, "");
    EXPECT_NE(Parse({"-p", "0"}).error, "");
    EXPECT_NE(Parse({"-p", "window"}).error, "");
}

TEST(CommandLine, XScreenSaverOptionsWithOneOrTwoDashes) {
    EXPECT_EQ(ModeOf({"--root"}), LinuxMode::XScreenSaverRoot);
    EXPECT_EQ(ModeOf({"-root"}), LinuxMode::XScreenSaverRoot);
    for (const char* option : {"--window-id", "-window-id"}) {
        const Parsed p = Parse({option, "0x2c00001"});
        EXPECT_EQ(p.line.mode, LinuxMode::XScreenSaverWindow) << option;
        EXPECT_EQ(p.line.windowId, 0x2c00001ul);
    }
    EXPECT_EQ(Parse({"--window-id=99"}).line.windowId, 99ul);
    EXPECT_NE(Parse({"--window-id"}).error, "");
    EXPECT_NE(Parse({"--window-id", "zero"}).error, "");
    EXPECT_NE(Parse({"--root", "/s"}).error, "");  // two modes at once
}

TEST(CommandLine, XScreenSaverWindowVariableIsHonouredWithoutArguments) {
    Parsed p = Parse({}, "0x1e00007");
    EXPECT_EQ(p.line.mode, LinuxMode::XScreenSaverWindow);
    EXPECT_EQ(p.line.windowId, 0x1e00007ul);
    // With --root it names the virtual root to draw on.
    p = Parse({"--root", "--speed", "100"}, "4194311");
    EXPECT_EQ(p.line.mode, LinuxMode::XScreenSaverWindow);
    EXPECT_EQ(p.line.windowId, 4194311ul);
    // An explicit window or mode switch wins over the variable.
    EXPECT_EQ(Parse({"--window-id", "5"}, "6").line.windowId, 5ul);
    EXPECT_EQ(ModeOf({"/s"}, "6"), LinuxMode::Saver);
    // An empty variable is no window; a bad one is an error.
    EXPECT_EQ(ModeOf({}, ""), LinuxMode::Settings);
    EXPECT_NE(Parse({}, "garbage").error, "");
}

TEST(CommandLine, OverridesAreCheckedAndNeverMistakenForSwitches) {
    Parsed p = Parse({"-speed", "100", "--cycle-length", "30", "--seed=4294967295", "--build", "/s"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.line.mode, LinuxMode::Saver);
    EXPECT_EQ(*p.line.settings[kSpeedSetting], 100);
    EXPECT_EQ(*p.line.settings[kCycleLengthSetting], 30);
    EXPECT_EQ(*p.line.seed, 4294967295u);
    EXPECT_EQ(*p.line.settings[kBuildSetting], 1);

    // "-speed" and "-cycle-length" would match s and c as switches; as
    // options they do not pick a mode, so this is the default mode.
    p = Parse({"-speed", "5", "-cycle-length", "2", "--no-build"});
    EXPECT_EQ(p.line.mode, LinuxMode::Settings);
    EXPECT_EQ(*p.line.settings[kBuildSetting], 0);
    EXPECT_FALSE(p.line.seed.has_value());

    EXPECT_EQ(*Parse({"--speed", "0"}).line.settings[kSpeedSetting], 0);
    for (auto args : {std::initializer_list<const char*>{"--speed", "101"}, {"--speed", "-1"}, {"--speed", "fast"},
                      {"--cycle-length", "0"}, {"--cycle-length", "1001"}, {"--seed", "4294967296"},
                      {"--seed", "-1"}, {"--speed"}, {"--build=1"}})
        EXPECT_NE(Parse(args).error, "") << *args.begin() << " " << (args.size() > 1 ? args.begin()[1] : "");
    // A typo is never passed over, before the mode switch or after it.
    for (auto args : {std::initializer_list<const char*>{"/s", "--sped", "100"}, {"/s", "--speed100"},
                      {"/s", "--Speed", "100"}, {"-p", "7", "--seeed", "7"}, {"/s", "-x"}, {"--sped", "100", "/s"},
                      {"--root", "--sped", "100"}})
        EXPECT_EQ(Parse(args).error.rfind("unknown option '", 0), 0u) << Parse(args).error;
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(ModeOf({"--help"}), LinuxMode::Help);
    EXPECT_EQ(ModeOf({"/s", "-h"}), LinuxMode::Help);
    EXPECT_EQ(ModeOf({"--version"}), LinuxMode::Version);
    EXPECT_NE(UsageText("tessaly").find("--window-id"), std::string::npos);
    // Every setting's option, summary and range, from the one table.
    for (const SettingRule& rule : kSettingRules) {
        EXPECT_NE(UsageText("tessaly").find("  " + SettingOptionSyntax(rule, ", ") + " "), std::string::npos);
        EXPECT_NE(UsageText("tessaly").find(" " + SettingHelp(rule, false) + "\n"), std::string::npos) << rule.option;
    }
    EXPECT_EQ(VersionText().rfind("tessaly ", 0), 0u);
}

TEST(CommandLine, BackendIsForcedOrChosenByTheSession) {
    constexpr const char* kWayland = "wayland-1";
    EXPECT_EQ(ChooseBackend(Parse({"/s"}).line, kWayland), DisplayBackend::Wayland);
    EXPECT_EQ(ChooseBackend(Parse({"/s"}).line, ""), DisplayBackend::X11);
    EXPECT_EQ(ChooseBackend(Parse({"/s"}).line, nullptr), DisplayBackend::X11);
    // Naming an X display, or forcing a backend, overrides the session.
    EXPECT_EQ(ChooseBackend(Parse({"/s", "--display", ":1"}).line, kWayland), DisplayBackend::X11);
    EXPECT_EQ(ChooseBackend(Parse({"/s", "--backend", "x11"}).line, kWayland), DisplayBackend::X11);
    EXPECT_EQ(ChooseBackend(Parse({"/s", "--backend=wayland"}).line, nullptr), DisplayBackend::Wayland);
    // X windows are X11's alone; an unknown backend is an error.
    for (auto args : {std::initializer_list<const char*>{"--backend", "wayland", "-p", "12"},
                      {"--backend", "wayland", "--root"}, {"--backend", "mir", "/s"}, {"/s", "--backend"}})
        EXPECT_NE(Parse(args).error, "") << args.begin()[1];
    EXPECT_NE(UsageText("tessaly").find("--backend"), std::string::npos);
}

TEST(CommandLine, WallpaperIsWaylandsAloneAndOneModeOnly) {
    EXPECT_EQ(ModeOf({"--wallpaper"}), LinuxMode::Wallpaper);
    EXPECT_EQ(ModeOf({"-wallpaper", "--speed", "10"}), LinuxMode::Wallpaper);
    EXPECT_EQ(ModeOf({"--wallpaper", "--backend", "wayland"}), LinuxMode::Wallpaper);
    // A handed-over window does not turn the wallpaper into a display mode.
    EXPECT_EQ(ModeOf({"--wallpaper"}, "4194311"), LinuxMode::Wallpaper);
    for (auto args : {std::initializer_list<const char*>{"--wallpaper", "/s"}, {"--wallpaper", "--root"},
                      {"--wallpaper", "--window-id", "12"}, {"--wallpaper", "--backend", "x11"}})
        EXPECT_NE(Parse(args).error, "") << args.begin()[1];
    EXPECT_NE(Parse({"--wallpaper", "--backend", "x11"}).error.find("--root"), std::string::npos);
    EXPECT_NE(UsageText("tessaly").find("--wallpaper"), std::string::npos);
}

// The idle watcher: its times in minutes or, with an s, in seconds; its
// options only with --idle, and --idle with no other mode.
TEST(CommandLine, IdleTakesItsTimesInMinutesOrSeconds) {
    const Parsed idle = Parse({"--idle", "--wait", "8s", "--lock-after=2"});
    EXPECT_EQ(idle.line.mode, LinuxMode::Idle);
    EXPECT_EQ(idle.line.seconds[kIdleWaitSetting], 8);
    EXPECT_EQ(idle.line.seconds[kLockAfterSetting], 120);
    EXPECT_FALSE(idle.line.settings[kIdleWaitSetting]);
    EXPECT_EQ(Parse({"--idle"}).line.seconds[kIdleWaitSetting], std::nullopt);
    EXPECT_EQ(Parse({"--idle", "--wait", "120"}).line.seconds[kIdleWaitSetting], 7200);
    EXPECT_EQ(Parse({"--idle", "--lock-after", "0s"}).line.seconds[kLockAfterSetting], 0);
    for (auto args : {std::initializer_list<const char*>{"--idle", "--wait", "0"}, {"--idle", "--wait", "121"},
                      {"--idle", "--wait", "0s"}, {"--idle", "--wait", "7201s"}, {"--idle", "--wait", "5m"},
                      {"--idle", "--wait", "s"}, {"--idle", "--lock-after", "-1"}, {"--idle", "--wait"}})
        EXPECT_NE(Parse(args).error, "") << args.begin()[1] << " " << (args.size() > 2 ? args.begin()[2] : "");
    EXPECT_NE(Parse({"/s", "--wait", "5"}).error.find("--idle"), std::string::npos);
    for (auto args : {std::initializer_list<const char*>{"--idle", "/s"}, {"--idle", "--root"}, {"--idle", "--wallpaper"},
                      {"/c", "--idle"}})
        EXPECT_NE(Parse(args).error, "") << args.begin()[1];
    EXPECT_NE(UsageText("tessaly").find("--idle"), std::string::npos);
}

// What the watcher starts: /s with this run's garden options, seed and display, on its backend.
TEST(CommandLine, TheWatchersSaverTakesTheGardensOptions) {
    const Parsed p = Parse({"--idle", "--wait", "8s", "--speed", "90", "--no-build", "--seed", "7", "--display", ":3"});
    EXPECT_EQ(SaverArguments(p.line, DisplayBackend::X11),
              (std::vector<std::string>{"/s", "--speed=90", "--no-build", "--seed=7", "--display=:3", "--backend=x11"}));
    EXPECT_EQ(SaverArguments(Parse({"--idle", "--build", "--stats"}).line, DisplayBackend::Wayland),
              (std::vector<std::string>{"/s", "--build", "--backend=wayland", "--stats"}));
}
