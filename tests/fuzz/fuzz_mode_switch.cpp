// The saver's mode switch and the preview handle, as the shared core reads
// them: the chosen mode agrees with the letter rules, and a plain decimal
// handle reads as the C library reads it.
#include <cerrno>
#include <cstring>

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

    if (args.size() >= 2) {
        const char* handle = args[1].c_str();
        const long long value = ParseDecimalHandle(handle);
        // Up to 14 digits stay below the saturation limit (2^47 - 1).
        const std::size_t digits = std::strspn(handle, "0123456789");
        if (digits > 0 && digits <= 14) {
            errno = 0;
            FUZZ_REQUIRE(value == std::strtoll(handle, nullptr, 10) && errno == 0);
        }
    }
    return 0;
}
