// The text of tessaly.ini: whatever it holds, the parser either takes the
// [Config] values or says in one short printable line (ASCII and printable
// UTF-8, every other byte escaped) what is wrong.
#include <algorithm>
#include <map>

#include "FuzzInput.h"
#include "linux/Messages.h"
#include "linux/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::map<std::string, uint32_t> entries;
    std::string problem;
    tessaly::ParseSettingsText(tessaly::fuzz::Text(data, size), entries, problem);
    if (!problem.empty()) {
        FUZZ_REQUIRE(entries.empty());
        FUZZ_REQUIRE(problem.size() <= 256);
        // Printable leaves such a line as it is, but for the backslashes it escapes.
        std::string line = problem;
        std::replace(line.begin(), line.end(), '\\', '/');
        FUZZ_REQUIRE(tessaly::Printable(line) == line);
    }
    for (const auto& [key, value] : entries) {
        FUZZ_REQUIRE(!key.empty());
        for (char c : key) FUZZ_REQUIRE(!(c >= 'A' && c <= 'Z'));
    }
    return 0;
}
