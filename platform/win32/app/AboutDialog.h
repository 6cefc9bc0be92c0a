// The About box (template 101): centred, closed with OK.
#pragma once

#include "win32/framework/Dialog.h"

namespace tessaly::win32 {

class AboutDialog : public Dialog {
public:
    AboutDialog();

protected:
    BOOL OnInitDialog() override;
};

}  // namespace tessaly::win32
