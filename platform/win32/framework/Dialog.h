// A modal dialog from a dialog template resource. Its messages go through the
// same tables as plain windows; what no table handles goes back to the dialog
// manager. OK exchanges data from the controls and ends with IDOK; Cancel,
// Escape and the close box end with IDCANCEL and exchange nothing.
#pragma once

#include <windows.h>

#include "win32/framework/DataExchange.h"
#include "win32/framework/Wnd.h"

namespace tessaly::win32 {

class Dialog : public Wnd {
public:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}

    // Runs the dialog; the owner is the application's main window when none is given.
    INT_PTR DoModal(HWND owner = nullptr);
    // false: fields to controls; true: controls to fields.
    void UpdateData(bool save);
    // Centres over the owner, or over the screen's work area when there is none.
    void CenterWindow();

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(INT_PTR result);
    // A button click; true when handled. Here: OK and Cancel.
    virtual bool OnClicked(WORD id);

    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Unhandled here means: leave it to the dialog manager.
    LRESULT Default() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
    bool defaultRequested_ = false;
};

}  // namespace tessaly::win32
