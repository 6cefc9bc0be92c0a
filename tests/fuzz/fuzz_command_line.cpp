// The command line of tessaly. An input whose first argument starts with '='
// gives the rest of it as XSCREENSAVER_WINDOW. Whatever is accepted is in
// range; whatever is refused says why.
#include "linux/CommandLine.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessaly;
    std::vector<std::string> args = fuzz::Arguments(data, size);
    std::string environment;
    const bool hasEnvironment = !args.empty() && !args[0].empty() && args[0][0] == '=';
    if (hasEnvironment) {
        environment = args[0].substr(1);
        args.erase(args.begin());
    }
    const std::vector<const char*> argv = fuzz::Argv("tessaly", args);
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(static_cast<int>(argv.size() - 1), argv.data(), hasEnvironment ? environment.c_str() : nullptr,
                          line, error))
        return 0;
    if (line.mode == LinuxMode::Preview || line.mode == LinuxMode::XScreenSaverWindow)
        FUZZ_REQUIRE(line.windowId != 0 && line.windowId <= 0xFFFFFFFFul);
    for (int i = 0; i < kSettingCount; ++i) {
        if (const auto& v = line.settings[i]) FUZZ_REQUIRE(*v >= kSettingRules[i].min && *v <= kSettingRules[i].max);
        // Times come in seconds, and only for the idle watcher (--help and
        // --version end the parse wherever they stand).
        if (const auto& s = line.seconds[i])
            FUZZ_REQUIRE((line.mode == LinuxMode::Idle || line.mode == LinuxMode::Help ||
                          line.mode == LinuxMode::Version) &&
                         *s >= MinSeconds(kSettingRules[i]) && *s <= MaxSeconds(kSettingRules[i]));
    }
    return 0;
}
