#include "RenderOptions.h"

#include <cctype>
#include <cstdlib>

#include "base/Decimal.h"
#include "settings/Settings.h"
#include "shell/Printable.h"

namespace tessaly {

namespace {

// The virtual clock runs tick by tick, so the speed, which only sets the
// timer's period, changes nothing in a render; every other garden setting is an option.
bool RenderTakes(int setting) { return setting != kSpeedSetting && IsGardenSetting(kSettingRules[setting]); }

// Where the help's descriptions begin, and how wide its lines may be.
constexpr std::size_t kHelpColumn = 25;
constexpr std::size_t kHelpWidth = 78;

std::string SettingOptionsHelp() {
    std::string text;
    for (int i = 0; i < kSettingCount; ++i) {
        const SettingRule& rule = kSettingRules[i];
        if (RenderTakes(i))
            text += HelpEntry(std::string("      ") + rule.option + (IsFlag(rule) ? " 0|1" : " N"),
                              SettingHelp(rule, true), kHelpColumn, kHelpWidth);
    }
    return text;
}

}  // namespace

const std::string kRenderUsage =
    "Usage: tessaly-render [OPTION]...\n"
    "Paints a Tessaly garden without a screen: the saver's own canvas and scene\n"
    "cycle run against a virtual clock, and the picture is written to a file.\n"
    "\n"
    "  -o, --output FILE      where to write; the extension picks the format:\n"
    "                         .png, .pdf or .svg (default garden.png); PDF and\n"
    "                         SVG hold the figures as vector shapes\n"
    "      --ticks N          timer ticks to run; each tick builds a scene when the\n"
    "                         last one is drawn, then paints (default 1400, one\n"
    "                         whole pass of the scene cycle at the default settings)\n"
    "      --seed S           random seed 0..4294967295 (default: the current time);\n"
    "                         the same seed paints the same garden\n"
    "      --size WxH         output size in pixels (default 1920x1080); the\n"
    "                         1400x1000 canvas is stretched over it\n" +
    SettingOptionsHelp() +
    "      --antialias        smooth drawing instead of the saver's exact pixels\n"
    "                         (PNG and frames)\n"
    "      --background B     what lay on the screen before: black (default),\n"
    "                         white, or a PNG file (at most 67108864 pixels,\n"
    "                         8192x8192), scaled to cover the output, centred\n"
    "                         and cropped\n"
    "      --frames DIR       also write one PNG per paint into DIR\n"
    "                         (frame-000001.png, ...), created if missing\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "The seed is printed first, and the path of the finished file last. Exit\n"
    "status: 0 done, 1 a file could not be read or written, 2 bad options.\n"
    "Nothing is left behind on failure, nor when a signal ends the run: neither\n"
    "the output nor any frame (nor the frames folder, when the run made it).\n";

namespace {

bool ParseInteger(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    long long parsed = 0;
    if (!ParseDecimal(text, low, high, parsed)) return false;
    value = parsed;
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int64_t w = 0, h = 0;
    if (!ParseInteger(text.substr(0, x), 1, 16384, w) || !ParseInteger(text.substr(x + 1), 1, 16384, h)) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace

std::optional<OutputFormat> FormatFromPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png") return OutputFormat::Png;
    if (ext == "pdf") return OutputFormat::Pdf;
    if (ext == "svg") return OutputFormat::Svg;
    return std::nullopt;
}

GardenState RenderGarden(const RenderOptions& o, uint32_t seed) {
    GardenState state;
    for (int i = 0; i < kSettingCount; ++i)
        if (IsGardenSetting(kSettingRules[i])) state.*kSettingRules[i].field = o.settings[i];
    state.random.Seed(seed);
    return state;
}

bool ParseRenderOptions(const std::vector<std::string>& args, ParsedCommandLine& parsed, std::string& error) {
    parsed = ParsedCommandLine{};
    RenderOptions& o = parsed.options;
    // Every message quotes the command line's own words: shown escaped.
    auto fail = [&](const std::string& message) {
        error = Printable(message);
        return false;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;  // --name=value
        if (name.rfind("--", 0) == 0) {
            const std::size_t eq = name.find('=');
            if (eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }
        auto flag = [&]() {
            return !inlineValue.has_value();
        };
        std::string value;
        auto takeValue = [&]() {
            if (inlineValue) {
                value = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            value = args[++i];
            return true;
        };

        if (name == "-h" || name == "--help") {
            if (!flag()) return fail("option " + name + " takes no value");
            parsed.action = ParsedCommandLine::Action::Help;
            return true;
        }
        if (name == "--version") {
            if (!flag()) return fail("option " + name + " takes no value");
            parsed.action = ParsedCommandLine::Action::Version;
            return true;
        }
        if (name == "--antialias") {
            if (!flag()) return fail("option --antialias takes no value");
            o.antialias = true;
            continue;
        }
        int setting = kSettingCount;  // the row this option sets, if any
        for (int row = 0; row < kSettingCount; ++row)
            if (RenderTakes(row) && name == kSettingRules[row].option) setting = row;
        const bool known = name == "-o" || name == "--output" || name == "--ticks" || name == "--seed" ||
                           name == "--size" || setting < kSettingCount || name == "--background" ||
                           name == "--frames";
        if (!known) {
            if (name.empty() || name[0] != '-') return fail("unexpected argument '" + args[i] + "'");
            return fail("unknown option '" + name + "'");
        }
        if (!takeValue()) return fail("option " + name + " needs a value");

        int64_t number = 0;
        if (name == "-o" || name == "--output") {
            if (value.empty()) return fail("empty output file name");
            const auto format = FormatFromPath(value);
            if (!format) return fail("cannot tell the format of '" + value + "': use .png, .pdf or .svg");
            o.output = value;
            o.format = *format;
        } else if (name == "--ticks") {
            if (!ParseInteger(value, 0, INT32_MAX, number)) {
                return fail("--ticks needs a whole number 0.." + std::to_string(INT32_MAX) + ", not '" + value + "'");
            }
            o.ticks = number;
        } else if (name == "--seed") {
            if (!ParseInteger(value, 0, UINT32_MAX, number)) {
                return fail("--seed needs a whole number 0..4294967295, not '" + value + "'");
            }
            o.seed = static_cast<uint32_t>(number);
        } else if (name == "--size") {
            if (!ParseSize(value, o.width, o.height)) {
                return fail("--size needs WIDTHxHEIGHT, each 1..16384, not '" + value + "'");
            }
        } else if (setting < kSettingCount) {
            const SettingRule& rule = kSettingRules[setting];
            if (IsFlag(rule)) {
                if (value != "0" && value != "1") return fail(name + " needs 0 or 1, not '" + value + "'");
                number = value == "1" ? 1 : 0;
            } else if (!ParseInteger(value, rule.min, rule.max, number)) {
                return fail(name + " needs a whole number " + std::to_string(rule.min) + ".." +
                            std::to_string(rule.max) + ", not '" + value + "'");
            }
            o.settings[setting] = static_cast<int32_t>(number);
        } else if (name == "--background") {
            if (value.empty()) return fail("--background needs black, white or a PNG file");
            o.background = value;
        } else if (name == "--frames") {
            if (value.empty()) return fail("--frames needs a folder");
            o.framesDir = value;
        }
    }
    return true;
}

}  // namespace tessaly
