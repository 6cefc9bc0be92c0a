// The XScreenSaver settings description must stay in step with the command
// line: every option it can produce, at both ends of every slider, has to be
// accepted by the program.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "linux/CommandLine.h"
#include "settings/Settings.h"

using namespace tessaly;

namespace {

std::string ReadXml() {
    std::ifstream in(TESSALY_XSCREENSAVER_XML);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Attribute(const std::string& element, const std::string& name) {
    std::smatch m;
    if (std::regex_search(element, m, std::regex("\\s" + name + "=\"([^\"]*)\""))) return m[1];
    return "";
}

std::vector<std::string> Elements(const std::string& xml, const std::string& tag) {
    std::vector<std::string> found;
    const std::regex pattern("<" + tag + "\\b[^>]*>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern); it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Parse(std::vector<std::string> words, CommandLine& line) {
    std::vector<const char*> argv{"tessaly"};
    for (const std::string& w : words) argv.push_back(w.c_str());
    std::string error;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data(), nullptr, line, error);
    return error;
}

}  // namespace

TEST(XScreenSaverXml, DescribesTessalyWithTwoSlidersAndACheckBox) {
    const std::string xml = ReadXml();
    ASSERT_FALSE(xml.empty()) << TESSALY_XSCREENSAVER_XML;
    const auto saver = Elements(xml, "screensaver");
    ASSERT_EQ(saver.size(), 1u);
    EXPECT_EQ(Attribute(saver[0], "name"), "tessaly");
    EXPECT_EQ(Attribute(saver[0], "_label"), "Tessaly");
    EXPECT_EQ(Elements(xml, "number").size(), 2u);
    EXPECT_EQ(Elements(xml, "boolean").size(), 1u);
    EXPECT_NE(xml.find("<_description>"), std::string::npos);
}

TEST(XScreenSaverXml, EveryOptionItProducesIsAccepted) {
    const std::string xml = ReadXml();
    std::vector<std::string> base;
    for (const std::string& command : Elements(xml, "command"))
        for (const std::string& w : Words(Attribute(command, "arg"))) base.push_back(w);
    CommandLine line;
    ASSERT_EQ(Parse(base, line), "");
    EXPECT_EQ(line.mode, LinuxMode::XScreenSaverRoot);

    for (const std::string& number : Elements(xml, "number")) {
        const std::string arg = Attribute(number, "arg");
        ASSERT_NE(arg.find('%'), std::string::npos) << number;
        for (const char* end : {"low", "high", "default"}) {
            std::string filled = arg;
            filled.replace(filled.find('%'), 1, Attribute(number, end));
            std::vector<std::string> words = base;
            for (const std::string& w : Words(filled)) words.push_back(w);
            EXPECT_EQ(Parse(words, line), "") << filled;
        }
    }
    for (const std::string& boolean : Elements(xml, "boolean")) {
        std::vector<std::string> words = base;
        words.push_back(Attribute(boolean, "arg-set"));
        ASSERT_EQ(Parse(words, line), "") << boolean;
        EXPECT_EQ(line.settings[kBuildSetting], 1);
    }
}

// Each slider and the check box against the one table of settings: the
// dialog's range, the stored default and the command-line option.
TEST(XScreenSaverXml, SlidersAndCheckBoxFollowTheSettingsTable) {
    const auto numbers = Elements(ReadXml(), "number");
    const auto booleans = Elements(ReadXml(), "boolean");
    std::size_t gardenRows = 0;
    for (const SettingRule& rule : kSettingRules) gardenRows += IsGardenSetting(rule);
    ASSERT_EQ(numbers.size() + booleans.size(), gardenRows);
    for (const SettingRule& rule : kSettingRules) {
        if (!IsGardenSetting(rule)) continue;  // XScreenSaver runs the garden alone
        const std::vector<std::string>& controls = IsFlag(rule) ? booleans : numbers;
        const char* arg = IsFlag(rule) ? "arg-set" : "arg";
        const std::string want = IsFlag(rule) ? rule.option : std::string(rule.option) + " %";
        std::size_t i = 0;
        while (i < controls.size() && Attribute(controls[i], arg) != want) ++i;
        ASSERT_LT(i, controls.size()) << rule.entry;
        if (IsFlag(rule)) {
            EXPECT_EQ(rule.defaultValue, 0) << "the check box starts unchecked, as the default is";
            continue;
        }
        EXPECT_EQ(Attribute(controls[i], "low"), std::to_string(rule.sliderMin)) << rule.entry;
        EXPECT_EQ(Attribute(controls[i], "high"), std::to_string(rule.sliderMax)) << rule.entry;
        EXPECT_EQ(Attribute(controls[i], "default"), std::to_string(rule.defaultValue)) << rule.entry;
    }

    EXPECT_EQ(Attribute(numbers[0], "_label"), "Cycle length");
    EXPECT_EQ(Attribute(numbers[0], "_low-label"), "Low");
    EXPECT_EQ(Attribute(numbers[0], "_high-label"), "High");
    EXPECT_EQ(Attribute(numbers[1], "_label"), "Speed");
    EXPECT_EQ(Attribute(numbers[1], "_low-label"), "Slow");
    EXPECT_EQ(Attribute(numbers[1], "_high-label"), "Fast");
    EXPECT_EQ(Attribute(booleans[0], "_label"), "Step by step build");
}
