// The saver's application object: loads the settings, seeds the generator and
// runs the mode that the command line names.
#pragma once

#include <string>
#include <vector>

#include "win32/framework/WinApp.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "session/SaverSession.h"
#include "state/GardenState.h"

namespace tessaly::win32 {

class ScreenSaverApp : public WinApp {
public:
    BOOL InitInstance() override;
    // The message loop; then the saver's other windows go too.
    int Run() override;

private:
    // Each is false, with the reason, when it could not do its part.
    bool RunSettings(std::string& error);
    bool StartPreview(HWND pane, std::string& error);
    bool StartSaver(std::string& error);
    void CloseSaverWindows();

    GardenState state_;  // the settings, running values and generator of the process
    // The canvases of the saver or the preview; the first end of the run ends the message loop.
    SaverSession session_{state_, ProcessGdiObjects(), [] { PostQuitMessage(0); }};
    std::vector<HWND> saverWindows_;  // one per monitor
};

}  // namespace tessaly::win32
