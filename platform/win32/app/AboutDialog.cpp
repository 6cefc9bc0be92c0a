#include "win32/app/AboutDialog.h"

#include "win32/app/Resources.h"

namespace tessaly::win32 {

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

BOOL AboutDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

}  // namespace tessaly::win32
