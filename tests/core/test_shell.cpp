#include <gtest/gtest.h>

#include <vector>

#include "shell/ModeSwitch.h"
#include "shell/Printable.h"
#include "base/Decimal.h"
#include "settings/Settings.h"
#include "shell/SliderRules.h"

using namespace tessaly;

namespace {

constexpr const SettingRule& kCycle = kSettingRules[kCycleLengthSetting];
constexpr const SettingRule& kSpeed = kSettingRules[kSpeedSetting];

RunMode Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tessaly.scr");
    return ParseModeSwitch(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(ModeSwitch, LettersWithAndWithoutSwitchCharacters) {
    EXPECT_EQ(Parse({}), RunMode::Settings);
    for (const char* arg : {"/s", "-s", "s", "/S", "/scr", "-S"}) EXPECT_EQ(Parse({arg}), RunMode::Saver) << arg;
    for (const char* arg : {"/c", "c", "/C", "-c", "/c:1234", "/C:1234"})
        EXPECT_EQ(Parse({arg}), RunMode::Settings) << arg;
    for (const char* arg : {"/p", "-p", "/P", "p"}) EXPECT_EQ(Parse({arg, "1234"}), RunMode::Preview) << arg;
}

TEST(ModeSwitch, WhatMatchesNothing) {
    // "/Screen": first character differs in case and the whole string is not "s".
    for (const char* arg : {"/Screen", "//s", "--s", "/x", "", "/", "-", "Saver"})
        EXPECT_EQ(Parse({arg}), RunMode::None) << "'" << arg << "'";
}

TEST(ModeSwitch, FurtherArgumentsAreIgnored) {
    EXPECT_EQ(Parse({"-p", "1234", "extra", "/s"}), RunMode::Preview);
    EXPECT_EQ(Parse({"/s", "/c"}), RunMode::Saver);
}

TEST(ModeSwitch, CompareNoCaseOrdersLikeAStringCompare) {
    EXPECT_EQ(CompareNoCase("Screen", "SCREEN"), 0);
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_GT(CompareNoCase("s", ""), 0);
    EXPECT_NE(CompareNoCase("Screen", "s"), 0);
}

TEST(SliderRules, ScrollCodesMoveAsTheDialogDoes) {
    EXPECT_EQ(SliderPositionFor(kScrollLineLeft, 10, 0), 9);
    EXPECT_EQ(SliderPositionFor(kScrollLineRight, 10, 0), 11);
    EXPECT_EQ(SliderPositionFor(kScrollPageLeft, 15, 0), 5);
    EXPECT_EQ(SliderPositionFor(kScrollPageRight, 15, 0), 25);
    EXPECT_EQ(SliderPositionFor(kScrollThumbPosition, 15, 42), 42);
    EXPECT_EQ(SliderPositionFor(kScrollThumbTrack, 15, 43), 43);
    EXPECT_EQ(SliderPositionFor(kScrollLeft, 15, 0), 1);
    EXPECT_EQ(SliderPositionFor(kScrollRight, 15, 0), 100);
    EXPECT_EQ(SliderPositionFor(kScrollEnd, 15, 99), 15);
    EXPECT_EQ(SliderPositionFor(99, 15, 99), 15);
}

TEST(SliderRules, BothSlidersShareOneToHundredAndEachBarItsRange) {
    EXPECT_EQ(SliderPositionFor(kScrollPageLeft, 5, 0), 1);
    EXPECT_EQ(SliderPositionFor(kScrollLineLeft, 1, 0), 1);
    EXPECT_EQ(SliderPositionFor(kScrollPageRight, 95, 0), 100);
    EXPECT_EQ(SliderPositionFor(kScrollThumbTrack, 5, 250), 100);
    // The cycle bar stops at 30, whether by End or a page past the end.
    EXPECT_EQ(ClampToBar(SliderPositionFor(kScrollRight, 3, 0), kCycle.sliderMin, kCycle.sliderMax), 30);
    EXPECT_EQ(ClampToBar(SliderPositionFor(kScrollPageRight, 25, 0), kCycle.sliderMin, kCycle.sliderMax), 30);
    // Stored settings outside a bar's range show at its nearest end.
    EXPECT_EQ(ClampToBar(200, kCycle.sliderMin, kCycle.sliderMax), 30);
    EXPECT_EQ(ClampToBar(0, kSpeed.sliderMin, kSpeed.sliderMax), 1);
}

TEST(Decimal, SignAndDigitsOnlyWithinTheRange) {
    long long v = -1;
    EXPECT_TRUE(ParseDecimal("+42", 0, 100, v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(ParseDecimal("-2147483648", -2147483648LL, 4294967295LL, v));
    EXPECT_EQ(v, -2147483648LL);
    EXPECT_TRUE(ParseDecimal("4294967295", 0, 4294967295LL, v));
    for (const char* bad : {"", "+", "-", " 1", "1 ", "1x", "0x10", "101", "-1", "99999999999999999999999"})
        EXPECT_FALSE(ParseDecimal(bad, 0, 100, v)) << "'" << bad << "'";
    EXPECT_EQ(v, 4294967295LL);  // a refused text leaves the value alone
}

// What messages show of outside text: controls and broken UTF-8 escaped,
// letters of any script as they are, a backslash only where it would read
// as an escape (so Windows paths stay readable).
TEST(Printable, EscapesWhatCouldDriveTheTerminalOrReadAsAnEscape) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Users\\me.png", "C:\\Users\\me.png"},
        {"a\\x41", "a\\x5cx41"},
        {"z\x1b[1m.png", "z\\x1b[1m.png"},
        {"fl\xc3\xa9ur\tend", "fl\xc3\xa9ur\\x09end"},
        {"\xc3(", "\\xc3("},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(tessaly::Printable(text), shown) << text;
}
