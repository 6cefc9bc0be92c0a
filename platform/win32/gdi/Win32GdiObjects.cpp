#include "win32/gdi/Win32GdiObjects.h"

#include <windows.h>

namespace tessaly::win32 {

GdiHandle Win32GdiObjects::GetStockObject(int index) { return ::GetStockObject(index); }

GdiHandle Win32GdiObjects::CreateSolidBrush(ColourRef colour) {
    return ::CreateSolidBrush(static_cast<COLORREF>(colour));
}

bool Win32GdiObjects::DeleteObject(GdiHandle object) {
    return ::DeleteObject(static_cast<HGDIOBJ>(object)) != FALSE;
}

Win32GdiObjects& ProcessGdiObjects() {
    static Win32GdiObjects objects;
    return objects;
}

}  // namespace tessaly::win32
