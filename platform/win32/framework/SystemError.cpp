#include "win32/framework/SystemError.h"

namespace tessaly::win32 {

std::string SystemErrorText(DWORD code) {
    if (code == ERROR_SUCCESS) return "no reason given";
    char* text = nullptr;
    // MAX_WIDTH_MASK joins the text's own line breaks into spaces.
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string line = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    while (!line.empty() && (line.back() == ' ' || line.back() == '.')) line.pop_back();
    return line.empty() ? "error " + std::to_string(code) : line;
}

}  // namespace tessaly::win32
