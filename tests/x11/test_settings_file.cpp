#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/Scratch.h"
#include "linux/SettingsFile.h"
#include "settings/Settings.h"

using namespace tessaly;

namespace {

std::string Warning(SettingsFile& file) {
    std::string warning;
    const bool ok = file.Read(warning);
    EXPECT_EQ(ok, warning.empty());
    return warning;
}

void Stage(SettingsFile& file, int32_t cycleLength, int32_t speed, int32_t build) {
    std::string error;
    ASSERT_TRUE(WriteSettings(file, cycleLength, speed, build, error)) << error;
}

std::string CommitError(SettingsFile& file) {
    std::string error;
    const bool ok = file.Commit(error);
    EXPECT_EQ(ok, error.empty());
    return error;
}

// A private folder, removed afterwards.
class SettingsFileTest : public ::testing::Test {
protected:

    void WriteText(const std::string& text) {
        mkdir((folder + "/tessaly").c_str(), 0700);
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string ReadText() { return tessaly::testing::ReadFile(path); }
    // Loads through the core's rules, from static values that differ from the defaults.
    void Load(SettingsFile& file) {
        state = GardenState{};
        LoadSettings(file, state);
    }
    // The cycle length, speed and build a file of this text loads, read without a warning.
    std::vector<int32_t> Loaded(const std::string& text) {
        WriteText(text);
        SettingsFile file(path);
        EXPECT_EQ(Warning(file), "") << text;
        Load(file);
        return {state.cycleLengthSetting, state.speedSetting, state.buildSetting};
    }

    tessaly::testing::ScratchFolder scratch;
    std::string folder = scratch.Path();
    std::string path = folder + "/tessaly/tessaly.ini";
    GardenState state;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { had_ ? setenv(name_, saved_.c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

}  // namespace

TEST(SettingsFilePath, FollowsXdgConfigHomeThenHome) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg/");
        EXPECT_EQ(SettingsFilePath(), "/cfg/tessaly/tessaly.ini");
    }
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/tessaly/tessaly.ini");
    }
    {
        // A relative XDG_CONFIG_HOME is not to be used.
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/tessaly/tessaly.ini");
    }
}

TEST(StoredInt, KeepsTheThirtyTwoBitPatternOfTheValue) {
    uint32_t v = 0;
    for (const auto& [text, value] : std::map<std::string, uint32_t>{
             {"200", 200}, {"-1", 0xFFFFFFFF}, {"4294967295", 0xFFFFFFFF}, {"-2147483648", 0x80000000}, {"+7", 7}}) {
        EXPECT_TRUE(ParseStoredInt(text, v) && v == value) << text;
    }
    for (const char* bad : {"", "-", "4294967296", "-2147483649", "12a", "1.5", " 3", "0x10", "99999999999999999999"})
        EXPECT_FALSE(ParseStoredInt(bad, v)) << bad;
}

TEST_F(SettingsFileTest, ReadsTheConfigSectionWithCommentsAndAnyCase) {
    EXPECT_EQ(Loaded("; comment\n# another\n[Other]\nSpeed=1\n\n[config]\r\n  CYCLE_LENGTH = 12 \r\nspeed=99\nBuild=1\nUnknown=3\n"),
              (std::vector<int32_t>{12, 99, 1}));
    // Some editors start the file with a UTF-8 byte-order mark.
    EXPECT_EQ(Loaded("\xEF\xBB\xBF[Config]\nSpeed=98\n")[1], 98);
    SettingsFile file(path);
    WriteText("\xEF\xBB\xBF\xEF\xBB\xBF[Config]\nSpeed=98\n");  // only one is skipped
    EXPECT_NE(Warning(file), "");
}

TEST_F(SettingsFileTest, AppliesTheRangeRulesOfStartUp) {
    using Values = std::vector<int32_t>;
    // Build has no range test: 2 stays 2.
    EXPECT_EQ(Loaded("[Config]\ncycle_length=1001\nSpeed=-1\nBuild=2\n"), (Values{5, 60, 2}));
    // A stored 2^31 or more arrives negative, outside every range.
    EXPECT_EQ(Loaded("[Config]\ncycle_length=4294967295\nSpeed=2147483648\nBuild=4294967295\n"), (Values{5, 60, -1}));
    // Used as stored; only the dialog brings the cycle length to 30.
    EXPECT_EQ(Loaded("[Config]\ncycle_length=200\nSpeed=0\n"), (Values{200, 0, 0}));
}

TEST_F(SettingsFileTest, MissingGivesDefaultsSilentlyUnreadableOrMalformedOneLine) {
    SettingsFile file(path);
    std::string warning = Warning(file);
    EXPECT_EQ(warning, "");  // the normal case before the first OK in the dialog
    Load(file);
    EXPECT_EQ(state.cycleLengthSetting, 5);
    EXPECT_EQ(state.speedSetting, 60);
    EXPECT_EQ(state.buildSetting, 0);

    const char* malformed[] = {
        "[Config]\ncycle_length=7\nSpeed=fast\n",  // one bad value spoils the whole file
        "[Config]\ncycle_length=7\njust words\n",
        "[Config\ncycle_length=7\n",
        "[Config]\n=7\n",
    };
    for (const char* text : malformed) {
        WriteText(text);
        warning = Warning(file);
        EXPECT_NE(warning, "") << text;
        EXPECT_EQ(warning.find('\n'), std::string::npos);
        Load(file);
        EXPECT_EQ(state.cycleLengthSetting, 5) << text;
    }

    // A value that would drive the terminal is shown escaped, cut short, on one line.
    WriteText("[Config]\nSpeed=\x1b]0;pwned\x07\x1b[2J99\r\x9b" + std::string(500, '7') + "\n");
    warning = Warning(file);
    EXPECT_NE(warning.find("line 2: '\\x1b]0;pwned\\x07\\x1b[2J99\\x0d\\x9b777"), std::string::npos) << warning;
    EXPECT_NE(warning.find("(cut short)"), std::string::npos) << warning;
    EXPECT_LT(warning.size(), path.size() + 150);
    for (char c : warning) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << static_cast<int>(c);

    // So is the file's own name, wherever it comes from (XDG_CONFIG_HOME).
    const std::string strange = folder + "/x\x1b[31m\nX";
    ASSERT_EQ(mkdir(strange.c_str(), 0700), 0);
    std::ofstream(strange + "/tessaly.ini") << "[Config]\nSpeed=fast\n";
    SettingsFile strangeFile(strange + "/tessaly.ini");
    warning = Warning(strangeFile);
    EXPECT_NE(warning.find("/x\\x1b[31m\\x0aX/tessaly.ini"), std::string::npos) << warning;

    WriteText(std::string("[Config]\ncycle_length=7\n") + std::string(3, '\0'));
    EXPECT_NE(Warning(file), "");
    WriteText("[Config]\n" + std::string(70 * 1024, ';'));
    EXPECT_NE(Warning(file).find("too large"), std::string::npos);

    // A folder where the file should be cannot be read as one.
    ASSERT_EQ(std::system(("rm -f '" + path + "' && mkdir '" + path + "'").c_str()), 0);
    EXPECT_NE(Warning(file), "");
    Load(file);
    EXPECT_EQ(state.speedSetting, 60);
}

TEST_F(SettingsFileTest, RoundTripWritesAtomicallyAndCreatesFolders) {
    const std::string nested = folder + "/a/b/tessaly.ini";
    SettingsFile writer(nested);
    Stage(writer, 30, 1, 1);
    ASSERT_EQ(CommitError(writer), "");
    EXPECT_EQ(tessaly::testing::FileNames(folder + "/a/b"), std::vector<std::string>{"tessaly.ini"});

    SettingsFile reader(nested);
    EXPECT_EQ(Warning(reader), "");
    Load(reader);
    EXPECT_EQ(state.cycleLengthSetting, 30);
    EXPECT_EQ(state.speedSetting, 1);
    EXPECT_EQ(state.buildSetting, 1);

    // Writing again replaces the values, each once, in the order written.
    Stage(writer, 5, 60, 0);
    Stage(writer, 6, 61, 0);
    ASSERT_EQ(CommitError(writer), "");
    std::ifstream in(nested);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_NE(s.str().find("[Config]\ncycle_length=6\nSpeed=61\nBuild=0\n"), std::string::npos) << s.str();
}

TEST_F(SettingsFileTest, WritingThroughALinkReplacesARegularTargetKeepingOwnerAndMode) {
    // As dotfile managers keep it: the name a link into another folder.
    const std::string kept = folder + "/dotfiles/tessaly.ini";
    WriteText("");
    ASSERT_EQ(mkdir((folder + "/dotfiles").c_str(), 0700), 0);
    std::ofstream(kept) << "[Config]\nSpeed=42\n";
    ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
    uid_t uid = geteuid();
    gid_t gid = getegid();
    if (tessaly::testing::Nobody(uid, gid)) {
        ASSERT_EQ(chown(kept.c_str(), uid, gid), 0);
    }
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_EQ(symlink("../dotfiles/tessaly.ini", path.c_str()), 0);
    SettingsFile file(path);
    Stage(file, 7, 8, 1);
    ASSERT_EQ(CommitError(file), "");
    struct stat link {}, target {};
    ASSERT_EQ(lstat(path.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    ASSERT_EQ(stat(kept.c_str(), &target), 0);
    EXPECT_EQ(target.st_mode & 07777, 0640u);
    EXPECT_EQ(target.st_uid, uid) << "the replaced file lost its owner";
    EXPECT_EQ(target.st_gid, gid);
    EXPECT_NE(tessaly::testing::ReadFile(kept).find("Speed=8"), std::string::npos);
    EXPECT_EQ(tessaly::testing::FileNames(folder + "/dotfiles"), std::vector<std::string>{"tessaly.ini"});

    // A device is written into; a pipe that nothing reads is refused at once
    // (a dialog must not hang). Neither is replaced.
    const std::string device = tessaly::testing::NullDevice(scratch);
    const std::string pipe = folder + "/dotfiles/pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& to : {device, pipe}) {
        ASSERT_EQ(std::remove(path.c_str()), 0);
        ASSERT_EQ(symlink(to.c_str(), path.c_str()), 0);
        Stage(file, 7, 8, 1);
        const std::string error = CommitError(file);
        EXPECT_EQ(error, to == pipe ? "cannot write " + path + ": nothing reads from that pipe" : "");
        struct stat after {};
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_TRUE(to == pipe ? S_ISFIFO(after.st_mode) : S_ISCHR(after.st_mode)) << to << " was replaced";
    }
    EXPECT_EQ(tessaly::testing::FileNames(folder + "/tessaly"), std::vector<std::string>{"tessaly.ini"});
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    WriteText("[Config]\nSpeed=42\n");
    // The target is a folder: the rename fails after the temporary was written.
    const std::string blocked = folder + "/tessaly/blocked.ini";
    ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);
    SettingsFile file(blocked);
    Stage(file, 1, 2, 1);
    const std::string error = CommitError(file);
    EXPECT_NE(error, "");
    EXPECT_EQ(error.find('\n'), std::string::npos);
    auto names = tessaly::testing::FileNames(folder + "/tessaly");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blocked.ini", "tessaly.ini"}));
    EXPECT_EQ(ReadText(), "[Config]\nSpeed=42\n");

    // A file where a folder should be.
    SettingsFile underFile(path + "/x/tessaly.ini");
    Stage(underFile, 1, 2, 1);
    EXPECT_NE(CommitError(underFile), "");
    EXPECT_EQ(ReadText(), "[Config]\nSpeed=42\n");
}

TEST_F(SettingsFileTest, KilledWritersLeaveTheOldOrTheNewFileAndNoPileOfTemporaries) {
    const std::string dir = folder + "/tessaly";
    WriteText("[Config]\nSpeed=42\n");
    // A temporary of a writer killed earlier, and a file of the user's that
    // only looks like one: the first goes, the second stays.
    std::ofstream(dir + "/.tessaly.ini.tmp-Ab3xYz") << "[Config]\nSpe";
    std::ofstream(dir + "/tessaly.ini.backup") << "mine";
    auto temporaries = [&] {
        int count = 0;
        for (const std::string& name : tessaly::testing::FileNames(dir)) count += name.rfind(".tessaly.ini.tmp-", 0) == 0;
        return count;
    };
    auto valuesNow = [&] {
        std::map<std::string, uint32_t> values;
        std::string problem;
        EXPECT_TRUE(ParseSettingsText(ReadText(), values, problem)) << problem;
        return values;
    };

    auto startWriter = [&](int32_t cycle, int32_t speed, int32_t build) {
        const pid_t child = fork();
        if (child == 0) {
            SettingsFile writer(path);
            Stage(writer, cycle, speed, build);
            _exit(CommitError(writer).empty() ? 0 : 1);
        }
        return child;
    };
    // Kills spread over about twice the time of one write, fork included.
    int status = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(waitpid(startWriter(1, 1, 1), &status, 0) > 0 && status == 0, true);
    const auto writeUs = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<long> delayUs(0, 2 * writeUs.count());

    std::map<std::string, uint32_t> before = valuesNow();
    int killedBeforeRename = 0;
    for (uint32_t i = 0; i < 300; ++i) {
        const std::map<std::string, uint32_t> written = {{"cycle_length", 1 + i % 30}, {"speed", i % 101}, {"build", i % 2}};
        const pid_t child = startWriter(1 + i % 30, i % 101, i % 2);
        usleep(static_cast<useconds_t>(delayUs(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::map<std::string, uint32_t> after = valuesNow();
        ASSERT_TRUE(after == before || after == written) << "kill " << i;
        killedBeforeRename += after == before && WIFSIGNALED(status);
        before = after;
        ASSERT_LE(temporaries(), 1) << "kill " << i;  // at most the one of the writer just killed
    }
    SettingsFile last(path);
    Stage(last, 5, 60, 0);
    ASSERT_EQ(CommitError(last), "");
    auto names = tessaly::testing::FileNames(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"tessaly.ini", "tessaly.ini.backup"}));
    std::cout << killedBeforeRename << " of 300 writers were killed before their rename\n";
}
