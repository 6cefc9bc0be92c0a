#include "shell/Printable.h"

namespace tessaly {

namespace {

// The length of the UTF-8 sequence at `text[i]` when it is well formed and
// names a printable character (U+00A0 and above, no surrogate); else 0.
std::size_t PrintableSequence(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) return 0;
    unsigned long code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    const unsigned long smallest[] = {0, 0, 0xA0, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string Printable(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // A backslash stands as it is (a Windows path stays readable) but
        // where an x follows: every \x in a message starts an escape.
        const bool escapeLike = byte == '\\' && i + 1 < text.size() && text[i + 1] == 'x';
        if (byte >= 0x20 && byte < 0x7F && !escapeLike) {
            shown += static_cast<char>(byte);
            ++i;
        } else if (const std::size_t length = PrintableSequence(text, i); length > 0) {
            shown.append(text.substr(i, length));
            i += length;
        } else {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
            ++i;
        }
    }
    return shown;
}

}  // namespace tessaly
