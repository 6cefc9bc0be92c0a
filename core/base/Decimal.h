// The one strict reader of whole numbers in text: command-line values and
// stored settings alike.
#pragma once

#include <string_view>

namespace tessaly {

// An optional sign and one or more decimal digits, nothing before or after,
// within min..max. Huge numbers are refused, never wrapped.
bool ParseDecimal(std::string_view text, long long min, long long max, long long& value);

}  // namespace tessaly
