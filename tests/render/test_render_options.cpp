// tessaly-render's command line: defaults, every option, and the one-line
// errors for what it refuses.
#include <gtest/gtest.h>

#include <tuple>

#include "render/RenderOptions.h"

namespace tessaly {
namespace {

struct Parsed : ParsedCommandLine {
    bool ok = false;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed p;
    p.ok = ParseRenderOptions(args, p, p.error);
    return p;
}

// Every option's value, to compare whole.
auto Fields(const RenderOptions& o) {
    return std::make_tuple(o.ticks, o.seed, o.width, o.height, o.settings[kCycleLengthSetting],
                           o.settings[kBuildSetting], o.antialias, o.background, o.output, o.format, o.framesDir);
}
using Values = decltype(Fields(RenderOptions{}));

TEST(RenderOptions, DefaultsPaintOneDefaultPassToGardenPng) {
    const Parsed p = Parse({});
    ASSERT_EQ(p.action, ParsedCommandLine::Action::Render);
    EXPECT_EQ(Fields(p.options),
              (Values{1400, std::nullopt, 1920, 1080, 5, 0, false, "black", "garden.png", OutputFormat::Png, ""}));
}

TEST(RenderOptions, EveryOptionInBothSpellings) {
    const Parsed p =
        Parse({"--ticks", "12", "--seed=4294967295", "--size", "1400x1000", "--cycle-length=1000", "--build",
               "1", "--antialias", "--background", "bg.png", "-o", "out/Garden.SVG", "--frames=f"});
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_EQ(p.action, ParsedCommandLine::Action::Render);
    EXPECT_EQ(Fields(p.options),
              (Values{12, 4294967295u, 1400, 1000, 1000, 1, true, "bg.png", "out/Garden.SVG", OutputFormat::Svg, "f"}));
    EXPECT_EQ(Parse({"--output", "a.pdf"}).options.format, OutputFormat::Pdf);
}

TEST(RenderOptions, HelpAndVersionWin) {
    EXPECT_EQ(Parse({"--ticks", "5", "--help"}).action, ParsedCommandLine::Action::Help);
    EXPECT_EQ(Parse({"-h"}).action, ParsedCommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, ParsedCommandLine::Action::Version);
    // Each garden setting but the speed, which only paces the timer, is an
    // option, and the help gives its summary; the idle watcher's are not.
    for (const SettingRule& rule : kSettingRules) {
        const bool taken = &rule != &kSettingRules[kSpeedSetting] && IsGardenSetting(rule);
        EXPECT_EQ(kRenderUsage.find(std::string("  ") + rule.option + " ") != std::string::npos, taken) << rule.option;
        EXPECT_EQ(kRenderUsage.find(rule.summary) != std::string::npos, taken) << rule.summary;
        EXPECT_EQ(Parse({rule.option, IsFlag(rule) ? "1" : std::to_string(rule.max)}).ok, taken) << rule.option;
    }
}

TEST(RenderOptions, RefusesBadValuesWithOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"--frobnicate"},          {"stray"},
        {"--ticks"},               {"--ticks", "-1"},
        {"--ticks", "12x"},        {"--ticks", "99999999999"},
        {"--seed", "-3"},          {"--seed", "4294967296"},
        {"--size", "0x10"},        {"--size", "1920"},
        {"--size", "16385x10"},    {"--size", "10x10x"},
        {"--cycle-length", "0"},   {"--cycle-length", "1001"},
        {"--build", "2"},          {"--build", ""},
        {"-o", "garden.jpg"},      {"-o", "garden"},
        {"-o", "dir.png/garden"},  {"-o", ""},
        {"--antialias=yes"},       {"--background", ""},
        {"--frames", ""},          {"--ticks", " 5"},
    };
    for (const auto& args : bad) {
        const Parsed p = Parse(args);
        EXPECT_FALSE(p.ok) << args[0];
        EXPECT_FALSE(p.error.empty());
        EXPECT_EQ(p.error.find('\n'), std::string::npos);
    }
}

TEST(RenderOptions, FormatFollowsTheExtensionOnly) {
    EXPECT_EQ(FormatFromPath("a.PNG"), OutputFormat::Png);
    EXPECT_EQ(FormatFromPath("/x.y/z.pdf"), OutputFormat::Pdf);
    EXPECT_EQ(FormatFromPath("./pics.svg/../g.svg"), OutputFormat::Svg);
    EXPECT_FALSE(FormatFromPath("/x.png/garden").has_value());
    EXPECT_FALSE(FormatFromPath("png").has_value());
}

}  // namespace
}  // namespace tessaly
