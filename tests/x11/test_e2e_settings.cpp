// Settings mode through the real program: the file is read with the load
// rules, shown, and written back only on OK, atomically.
#include <dirent.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "E2eFixture.h"

using namespace e2e;

namespace {

class SettingsModeE2e : public TessalyE2e {
protected:
    std::string File() const { return configHome + "/tessaly/tessaly.ini"; }
    void Store(const std::string& text) {
        ASSERT_EQ(std::system(("mkdir -p '" + configHome + "/tessaly'").c_str()), 0);
        std::ofstream(File()) << text;
    }
    std::string Stored() const {
        std::ifstream in(File());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    size_t FilesInFolder() const {
        size_t n = 0;
        if (DIR* d = opendir((configHome + "/tessaly").c_str())) {
            while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
            closedir(d);
        }
        return n;
    }
};

// Polls a run's once-a-second --stats lines, once there are two, until `done` holds for the
// ticks they count and the most that Speed 60, a tick every 205 ms, can give in the time since
// `start`: a bound that holds however slow or loaded the machine.
bool TicksUntil(Process& p, std::chrono::steady_clock::time_point start, const std::function<bool(long, double)>& done) {
    const std::regex line("ticks (\\d+) rss");
    return WaitUntil([&] {
        const std::string out = p.Output();
        long ticks = 0, lines = 0;
        for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it, ++lines) ticks = std::stol((*it)[1]);
        return lines >= 2 && done(ticks, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 0.205 + 1);
    }, kStartSeconds);
}

}  // namespace

#ifdef TESSALY_DIALOG_SETTINGS
// The dialog's default button is OK; Escape is Cancel.
TEST_F(SettingsModeE2e, OkWritesTheSliderValuesAndCancelWritesNothing) {
    // Out of the sliders' ranges: the dialog shows 30 and 1, and OK writes them.
    Store("[Config]\ncycle_length=200\nSpeed=0\n");
    auto dialog = Start({"/c"});
    ASSERT_EQ(Xdotool({"search", "--sync", "--onlyvisible", "--name", "Tessaly Saver", "windowfocus", "--sync"}), 0);
    ASSERT_EQ(Xdotool({"key", "Escape"}), 0);
    ASSERT_TRUE(EndedCleanly(*dialog));
    EXPECT_EQ(Stored(), "[Config]\ncycle_length=200\nSpeed=0\n");

    auto again = Start({});  // no argument: the same settings mode
    ASSERT_EQ(Xdotool({"search", "--sync", "--onlyvisible", "--name", "Tessaly Saver", "windowfocus", "--sync"}), 0);
    ASSERT_EQ(Xdotool({"key", "Return"}), 0);
    ASSERT_TRUE(EndedCleanly(*again));
    const std::string written = Stored();
    EXPECT_NE(written.find("[Config]\ncycle_length=30\nSpeed=1\nBuild=0\n"), std::string::npos) << written;
    EXPECT_EQ(FilesInFolder(), 1u) << "a temporary file was left behind";
}
#endif

TEST_F(SettingsModeE2e, OverridesLeaveTheFileAlone) {
    Store("[Config]\nSpeed=42\n");
    const Window window = client->CreateWindow(100, 100, 0x000000);
    std::unique_ptr<Process> mode;
    EXPECT_TRUE(StartsDrawing(mode, window, 20, {"-p", std::to_string(window), "--speed", "100", "--cycle-length", "1", "--build"}));
    mode->Signal(SIGTERM);
    ASSERT_TRUE(EndedBySignal(*mode, SIGTERM));
    EXPECT_EQ(Stored(), "[Config]\nSpeed=42\n");
    EXPECT_EQ(mode->Output(), "");  // a good file gives no warning
}

#ifdef TESSALY_TEXT_SETTINGS
// Without the GTK dialog, /c explains the file and writes nothing.
TEST_F(SettingsModeE2e, TextSettingsModeShowsTheFileAndLeavesItAlone) {
    const std::string file = File();
    Store("[Config]\ncycle_length=200\nSpeed=0\n");
    auto p = Start({"/c"}, {"DISPLAY"});
    ASSERT_TRUE(EndedCleanly(*p));
    const std::string out = p->Output();
    EXPECT_NE(out.find(file), std::string::npos) << out;
    EXPECT_NE(out.find("cycle_length=200"), std::string::npos) << out;
    EXPECT_NE(out.find("Speed=0"), std::string::npos) << out;
    auto none = Start({}, {"DISPLAY"});
    ASSERT_TRUE(EndedCleanly(*none));
    EXPECT_NE(none->Output().find("Settings file"), std::string::npos);
}
#endif

#ifndef TESSALY_TEXT_SETTINGS
// A dialog that cannot be shown is an error, not a silent Cancel.
TEST_F(SettingsModeE2e, DialogWithoutDisplayFailsAndWritesNothing) {
    Store("[Config]\ncycle_length=7\n");
    auto p = Start({"/c"}, {"DISPLAY"});
    ASSERT_TRUE(ExitedWith(*p, 1));
    EXPECT_NE(p->Output().find("no display"), std::string::npos) << p->Output();
    EXPECT_EQ(Stored(), "[Config]\ncycle_length=7\n");
}
#endif

// Under XScreenSaver the command line is the only source: the settings
// program shows a slider at its default and passes nothing for it, so a
// private file's Speed=100 must not win. Elsewhere the file counts.
TEST_F(SettingsModeE2e, XScreenSaverModeTakesOnlyTheCommandLine) {
    Store("[Config]\nSpeed=100\n");
    std::unique_ptr<Process> runs[3];
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> modes[3] = {{"--window-id"}, {"--window-id", "--speed", "100"}, {"-p"}};
    for (int i = 0; i < 3; ++i) {
        std::vector<std::string> args = modes[i];
        args.insert(args.begin() + 1, std::to_string(client->CreateWindow(100, 100, 0, 10 + 150 * i, 10)));
        args.push_back("--stats");
        runs[i] = Start(args);
    }
    // Speed 60 ticks every 205 ms; Speed 100 every 5 ms, far more often than Speed 60 can.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(TicksUntil(*runs[i], start, [i](long ticks, double most) { return i == 0 ? ticks <= most : ticks > most; }))
            << runs[i]->Output();
        runs[i]->Signal(SIGTERM);
        EXPECT_TRUE(EndedBySignal(*runs[i], SIGTERM));
    }
}
