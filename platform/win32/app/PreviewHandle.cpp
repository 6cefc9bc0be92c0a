#include "win32/app/PreviewHandle.h"

namespace tessaly::win32 {

long long ParseDecimalHandle(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' ||
           *text == '\f')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = (*text++ == '-');
    // Saturate instead of overflowing: an absurdly long number names no window.
    constexpr long long kLimit = 0x7FFFFFFFFFFFLL;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > kLimit) return 0;
    }
    return negative ? -value : value;
}

}  // namespace tessaly::win32
