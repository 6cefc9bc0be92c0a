// Data exchange between a dialog's fields and its controls: towards the
// controls (save false) or from them (save true).
#pragma once

#include <windows.h>

#include "win32/framework/ScrollBar.h"

namespace tessaly::win32 {

struct DataExchange {
    HWND dialog;
    bool save;
};

// Attaches the control to the holder the first time.
void DDX_Control(DataExchange& dx, int id, ScrollBar& bar);
// The field and the scroll bar's position.
void DDX_Scroll(DataExchange& dx, int id, int& value);
// The field and the check box state (0 unchecked, 1 checked).
void DDX_Check(DataExchange& dx, int id, int& value);

}  // namespace tessaly::win32
