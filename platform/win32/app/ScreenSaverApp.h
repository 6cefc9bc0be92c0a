// The saver's application object: loads the settings, seeds the generator and
// runs the mode that the command line names.
#pragma once

#include <vector>

#include "base/Geometry.h"
#include "framework/WinApp.h"
#include "state/GardenState.h"

namespace tessaly::win32 {

// Exit codes when nothing runs: a command line that names no mode or no
// usable preview window, and a window that could not be made.
constexpr int kExitBadCommandLine = 2;
constexpr int kExitNoWindow = 1;

class ScreenSaverApp : public WinApp {
public:
    BOOL InitInstance() override;
    // The message loop; then the saver's other windows go too.
    int Run() override;

private:
    BOOL RunSettings();
    BOOL StartPreview(const char* handleArgument);
    BOOL StartSaver();
    void CloseSaverWindows();

    GardenState state_;  // the settings, running values and generator of the process
    std::vector<HWND> saverWindows_;  // one per monitor
    Point firstMousePoint_{-1, -1};   // shared by them, in screen coordinates
};

}  // namespace tessaly::win32
