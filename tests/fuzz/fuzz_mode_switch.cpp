// The saver's mode switch, as the shared core reads it: the chosen mode
// agrees with the letter rules, tested in their order.
#include "FuzzInput.h"
#include "shell/ModeSwitch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::vector<std::string> args = fuzz::Arguments(data, size);
    const std::vector<const char*> argv = fuzz::Argv("tessaly.scr", args);
    const RunMode mode = ParseModeSwitch(static_cast<int>(argv.size() - 1), argv.data());
    if (args.empty()) {
        FUZZ_REQUIRE(mode == RunMode::Settings);
        return 0;
    }
    const char* first = args[0].c_str();
    const bool settings = MatchesSwitch(first, 'c') || MatchesSwitch(first, 'C');
    FUZZ_REQUIRE((mode == RunMode::Settings) == settings);
    if (!settings) {
        FUZZ_REQUIRE((mode == RunMode::Preview) == MatchesSwitch(first, 'p'));
        if (mode != RunMode::Preview) FUZZ_REQUIRE((mode == RunMode::Saver) == MatchesSwitch(first, 's'));
    }
    return 0;
}
