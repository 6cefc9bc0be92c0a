#include "win32/app/PreviewHandle.h"

#include <cstdint>

#include "shell/Printable.h"

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

bool PreviewPane(const char* argument, HWND& pane, std::string& error) {
    if (argument == nullptr) {
        error = "/p needs the handle of the window to show the preview in";
        return false;
    }
    const long long handle = ParseDecimalHandle(argument);
    pane = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    if (handle != 0 && IsWindow(pane)) return true;
    error = "'" + Printable(argument) + "' is the handle of no window";
    return false;
}

}  // namespace tessaly::win32
