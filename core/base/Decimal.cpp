#include "base/Decimal.h"

namespace tessaly {

bool ParseDecimal(std::string_view text, long long min, long long max, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    // Far past any range asked for, well short of overflowing.
    constexpr long long kCeiling = 1LL << 40;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCeiling) return false;
    }
    const long long parsed = negative ? -magnitude : magnitude;
    if (parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

}  // namespace tessaly
