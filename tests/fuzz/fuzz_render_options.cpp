// The command line of tessaly-render: a run is only ever started with
// options in range and an output whose name gives its format.
#include "FuzzInput.h"
#include "render/RenderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessaly;
    ParsedCommandLine parsed;
    std::string error;
    if (!ParseRenderOptions(fuzz::Arguments(data, size), parsed, error)) {
        FUZZ_REQUIRE(!error.empty());
        return 0;
    }
    if (parsed.action != ParsedCommandLine::Action::Render) return 0;
    const RenderOptions& o = parsed.options;
    FUZZ_REQUIRE(o.width >= 1 && o.width <= 16384 && o.height >= 1 && o.height <= 16384);
    FUZZ_REQUIRE(o.ticks >= 0 && o.ticks <= INT32_MAX);
    for (int i = 0; i < kSettingCount; ++i)
        FUZZ_REQUIRE(o.settings[i] >= kSettingRules[i].min && o.settings[i] <= kSettingRules[i].max);
    FUZZ_REQUIRE(!o.background.empty());
    FUZZ_REQUIRE(FormatFromPath(o.output) == o.format);
    return 0;
}
