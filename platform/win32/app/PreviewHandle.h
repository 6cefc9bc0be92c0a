// The preview pane's window handle in the second argument of `/p`.
#pragma once

namespace tessaly::win32 {

// Read as the C library's decimal conversion does (leading blanks, optional
// sign, digits up to the first other character), as the screen-saver host
// writes it. Overlong numbers give 0 rather than overflowing.
long long ParseDecimalHandle(const char* text);

}  // namespace tessaly::win32
