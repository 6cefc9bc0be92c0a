// Wrapped static texts that their controls cut off. A dialog's layout is in
// dialog units, which follow the font's average character width; a font
// whose words run wider than its average (the face that stands in for the
// template's, or a size picked for a high-DPI screen) can need a line more
// than the control shows, and the last words vanish.
#pragma once

#include <windows.h>

namespace tessaly::win32 {

// Widens each such text to the right, as far as it needs and no further
// than the next control beside it (or the dialog's edge), keeping a gap of
// four dialog units. Texts that fit are left as the template placed them.
void WidenClippedTexts(HWND dialog);

}  // namespace tessaly::win32
