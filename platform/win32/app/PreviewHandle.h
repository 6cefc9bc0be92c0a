// The preview pane's window handle in the second argument of `/p`.
#pragma once

#include <windows.h>

#include <string>

namespace tessaly::win32 {

// Read as the C library's decimal conversion does (leading blanks, optional
// sign, digits up to the first other character), as the screen-saver host
// writes it. Overlong numbers give 0 rather than overflowing.
long long ParseDecimalHandle(const char* text);

// The window that `argument` names; false, with the reason, when it is
// missing or names no window that exists.
bool PreviewPane(const char* argument, HWND& pane, std::string& error);

}  // namespace tessaly::win32
