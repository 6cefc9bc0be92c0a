// The idle watcher's autostart entry, which the settings dialog's box writes
// and removes: where it goes, what it holds, and nothing else left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "linux/AutostartEntry.h"
#include "support/Scratch.h"

using namespace tessaly;

TEST(AutostartEntry, TheBoxWritesTheEntryWholeAndRemovesIt) {
    tessaly::testing::ScratchFolder scratch;
    setenv("XDG_CONFIG_HOME", scratch.Path().c_str(), 1);
    const std::string entry = scratch / "autostart/tessaly-idle.desktop";
    EXPECT_EQ(AutostartEntryPath(), entry);
    EXPECT_FALSE(AutostartEntryExists());
    std::string error;
    ASSERT_TRUE(SetAutostartEntry(true, error)) << error;
    EXPECT_TRUE(AutostartEntryExists());
    const std::string text = tessaly::testing::ReadFile(entry);
    EXPECT_EQ(text, kAutostartEntryText);
    EXPECT_NE(text.find("\nExec=tessaly --idle\n"), std::string::npos);
    EXPECT_NE(text.find("\nTryExec=tessaly\n"), std::string::npos);
    EXPECT_EQ(tessaly::testing::FileNames(scratch / "autostart"), std::vector<std::string>{"tessaly-idle.desktop"});
    ASSERT_TRUE(SetAutostartEntry(false, error)) << error;
    EXPECT_FALSE(AutostartEntryExists());
    EXPECT_TRUE(SetAutostartEntry(false, error)) << "removing it twice is no failure: " << error;
    // A relative XDG_CONFIG_HOME is ignored: then it is ~/.config.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", scratch.Path().c_str(), 1);
    EXPECT_EQ(AutostartEntryPath(), scratch / ".config/autostart/tessaly-idle.desktop");
}
