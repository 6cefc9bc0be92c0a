#include "win32/framework/Dialog.h"

#include "win32/framework/TextFit.h"
#include "win32/framework/WinApp.h"

namespace tessaly::win32 {

INT_PTR Dialog::DoModal(HWND owner) {
    if (owner == nullptr) {
        Wnd* main = WinApp::Current()->MainWindow();
        if (main != this && main != nullptr) owner = main->GetSafeHwnd();
    }
    const INT_PTR result =
        DialogBoxParamA(WinApp::Current()->Instance(), MAKEINTRESOURCEA(templateId_), owner,
                        &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (GetSafeHwnd() != nullptr) {  // the dialog manager kept the last message to itself
        Unbind();
        WindowGone();
    }
    return result;
}

void Dialog::UpdateData(bool save) {
    DataExchange dx{GetSafeHwnd(), save};
    DoDataExchange(dx);
}

void Dialog::CenterWindow() {
    HWND hwnd = GetSafeHwnd();
    RECT area;
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
        area = info.rcWork;
    }
    RECT own;
    GetWindowRect(hwnd, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL Dialog::OnInitDialog() {
    WidenClippedTexts(GetSafeHwnd());
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::EndDialog(INT_PTR result) { ::EndDialog(GetSafeHwnd(), result); }

bool Dialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_INITDIALOG) {
        result = OnInitDialog();
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && OnClicked(LOWORD(wParam))) {
        result = 0;
        return true;
    }
    return false;
}

bool Dialog::OnClicked(WORD id) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT Dialog::Default() {
    defaultRequested_ = true;
    return 0;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (self == nullptr && message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->Bind(hwnd);
    }
    if (self == nullptr) return FALSE;

    const bool outer = self->defaultRequested_;
    self->defaultRequested_ = false;
    bool handled = false;
    const LRESULT result = self->Dispatch(message, wParam, lParam, false, handled);
    const bool toManager = !handled || self->defaultRequested_;
    self->defaultRequested_ = outer;

    if (message == WM_NCDESTROY) {
        self->Unbind();
        self->WindowGone();
        self->PostNcDestroy();
        return FALSE;
    }
    if (toManager) return FALSE;
    if (message == WM_INITDIALOG) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace tessaly::win32
