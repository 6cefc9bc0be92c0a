// The text of tessaly.ini: whatever it holds, the parser either takes the
// [Config] values or says in one short line of printable ASCII what is wrong.
#include <map>

#include "FuzzInput.h"
#include "SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::map<std::string, uint32_t> entries;
    std::string problem;
    tessaly::ParseSettingsText(tessaly::fuzz::Text(data, size), entries, problem);
    if (!problem.empty()) {
        FUZZ_REQUIRE(entries.empty());
        FUZZ_REQUIRE(problem.size() <= 256);
        for (char c : problem) FUZZ_REQUIRE(c >= 0x20 && c < 0x7F);
    }
    for (const auto& [key, value] : entries) {
        FUZZ_REQUIRE(!key.empty());
        for (char c : key) FUZZ_REQUIRE(!(c >= 'A' && c <= 'Z'));
    }
    return 0;
}
