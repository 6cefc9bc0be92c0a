#include "win32/framework/DataExchange.h"

namespace tessaly::win32 {

void DDX_Control(DataExchange& dx, int id, ScrollBar& bar) {
    if (bar.GetSafeHwnd() == nullptr) bar.Attach(GetDlgItem(dx.dialog, id));
}

void DDX_Scroll(DataExchange& dx, int id, int& value) {
    HWND control = GetDlgItem(dx.dialog, id);
    if (dx.save) {
        value = GetScrollPos(control, SB_CTL);
    } else {
        SetScrollPos(control, SB_CTL, value, TRUE);
    }
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    if (dx.save) {
        const UINT state = IsDlgButtonChecked(dx.dialog, id);
        value = state == BST_CHECKED ? 1 : (state == BST_INDETERMINATE ? 2 : 0);
    } else {
        CheckDlgButton(dx.dialog, id, static_cast<UINT>(value));
    }
}

}  // namespace tessaly::win32
