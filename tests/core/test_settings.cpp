#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/Settings.h"

using namespace tessaly;

namespace {

class FakeProfile : public ProfileReader, public ProfileWriter {
public:
    std::map<std::string, uint32_t> stored;
    std::vector<std::pair<std::string, int32_t>> writes;

    uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) override {
        EXPECT_STREQ(section, "Config");
        auto it = stored.find(entry);
        return it == stored.end() ? defaultValue : it->second;
    }
    bool WriteProfileInt(const char* section, const char* entry, int32_t value) override {
        EXPECT_STREQ(section, "Config");
        writes.emplace_back(entry, value);
        return writes.size() != failAt;
    }
    std::size_t failAt = 0;  // the write that fails, counting from 1; 0: none
};

struct Loaded {
    int32_t cycle, speed, build;
};

Loaded Load(FakeProfile& profile) {
    GardenState state;
    LoadSettings(profile, state);
    return {state.cycleLengthSetting, state.speedSetting, state.buildSetting};
}

}  // namespace

TEST(Settings, BeforeLoadingTheStaticValuesHold) {
    const GardenState fresh;
    EXPECT_EQ(fresh.cycleLengthSetting, 10);
    EXPECT_EQ(fresh.speedSetting, 60);
    EXPECT_EQ(fresh.buildSetting, 0);
}

TEST(Settings, NothingStoredGivesTheDefaults) {
    FakeProfile profile;
    const Loaded got = Load(profile);
    EXPECT_EQ(got.cycle, 5);
    EXPECT_EQ(got.speed, 60);
    EXPECT_EQ(got.build, 0);
}

TEST(Settings, RangeChecksReplaceOutOfRangeValues) {
    struct Case {
        uint32_t cycle, speed;
        int32_t wantCycle, wantSpeed;
    };
    const Case cases[] = {
        {0, static_cast<uint32_t>(-1), 5, 60},
        {1001, 101, 5, 60},
        {1, 0, 1, 0},
        {1000, 100, 1000, 100},
        {200, 7, 200, 7},
        {2147483648u, 2147483648u, 5, 60},  // arrives negative
        {4294967295u, 4294967295u, 5, 60},
    };
    for (const Case& c : cases) {
        FakeProfile profile;
        profile.stored = {{"cycle_length", c.cycle}, {"Speed", c.speed}};
        const Loaded got = Load(profile);
        EXPECT_EQ(got.cycle, c.wantCycle) << "stored cycle_length " << c.cycle;
        EXPECT_EQ(got.speed, c.wantSpeed) << "stored Speed " << c.speed;
    }
}

TEST(Settings, BuildIsNotRangeChecked) {
    FakeProfile profile;
    profile.stored = {{"Build", 2}};
    EXPECT_EQ(Load(profile).build, 2);
    profile.stored = {{"Build", 2147483648u}};
    EXPECT_EQ(Load(profile).build, INT32_MIN);
}

TEST(Settings, WriteBackInOrderAndStopAtTheFirstFailure) {
    FakeProfile profile;
    std::string error;
    EXPECT_TRUE(WriteSettings(profile, 30, 1, 1, error));
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"cycle_length", 30}, {"Speed", 1}, {"Build", 1}};
    EXPECT_EQ(profile.writes, expected);
    FakeProfile failing;
    failing.failAt = 2;
    EXPECT_FALSE(WriteSettings(failing, 30, 1, 1, error));
    EXPECT_EQ(error, "cannot store the setting Speed");
    EXPECT_EQ(failing.writes.size(), 2u);
}

TEST(Settings, HelpGivesSummaryRangeAndDefaultInColumns) {
    EXPECT_EQ(SettingHelp(kSettingRules[kCycleLengthSetting], true),
              "scenes of one kind before the next, x40 (1..1000, default 5)");
    EXPECT_EQ(SettingHelp(kSettingRules[kBuildSetting], false), kSettingRules[kBuildSetting].summary);
    EXPECT_EQ(HelpEntry("  --a N", "one two (three four)", 10, 22), "  --a N   one two\n          (three four)\n");
    EXPECT_EQ(HelpEntry("  --long-name", "one", 10, 80), "  --long-name\n          one\n");
}

// The idle watcher's rows are the Linux program's: the garden's loaders (the
// Windows registry among them) never ask for them, and LoadSetting checks
// their ranges as it does the garden's.
TEST(Settings, TheWatchersRowsAreLoadedOnlyByTheirOwnReaders) {
    struct Asked : FakeProfile {
        std::vector<std::string> entries;
        uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) override {
            entries.push_back(entry);
            return FakeProfile::GetProfileInt(section, entry, defaultValue);
        }
    } profile;
    Load(profile);
    EXPECT_EQ(profile.entries, (std::vector<std::string>{"cycle_length", "Speed", "Build"}));
    const SettingRule& wait = kSettingRules[kIdleWaitSetting];
    const SettingRule& lock = kSettingRules[kLockAfterSetting];
    EXPECT_EQ(LoadSetting(profile, wait), 5);
    EXPECT_EQ(LoadSetting(profile, lock), 0);
    profile.stored = {{"IdleWait", 120}, {"LockAfter", 0}};
    EXPECT_EQ(LoadSetting(profile, wait), 120);
    profile.stored = {{"IdleWait", 121}, {"LockAfter", static_cast<uint32_t>(-1)}};
    EXPECT_EQ(LoadSetting(profile, wait), 5);
    EXPECT_EQ(LoadSetting(profile, lock), 0);
    // A command line's seconds: from one (none for a row with 0 for never) to the longest.
    EXPECT_EQ(MinSeconds(wait), 1);
    EXPECT_EQ(MinSeconds(lock), 0);
    EXPECT_EQ(MaxSeconds(wait), 7200);
}
