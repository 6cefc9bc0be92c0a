#include "app/ScreenSaverApp.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "app/CanvasWnd.h"
#include "app/FullScreenWnd.h"
#include "app/RegistryProfile.h"
#include "app/SettingsDialog.h"
#include "gdi/Win32GdiObjects.h"
#include "random/Random.h"
#include "settings/Settings.h"
#include "shell/ModeSwitch.h"

namespace tessaly::win32 {

BOOL ScreenSaverApp::InitInstance() {
    // The dialog look: the manifest asks for Common Controls 6, which must be
    // loaded before the first dialog so its controls take the current style.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegistryProfile profile(kRegistryCompany, AppName());
    LoadSettings(profile);
    SeedRandom(static_cast<uint32_t>(std::time(nullptr)));

    switch (ParseModeSwitch(__argc, __argv)) {
        case RunMode::Settings: return RunSettings();
        case RunMode::Preview: return StartPreview(__argc > 2 ? __argv[2] : nullptr);
        case RunMode::Saver: return StartSaver();
        case RunMode::None: break;
    }
    SetExitCode(kExitBadCommandLine);
    return FALSE;
}

BOOL ScreenSaverApp::RunSettings() {
    SettingsDialog dialog;
    dialog.cycleLength = cycleLengthSetting;
    dialog.speed = speedSetting;
    dialog.build = buildSetting;
    SetMainWindow(&dialog);
    const INT_PTR result = dialog.DoModal();
    SetMainWindow(nullptr);
    if (result == -1) SetExitCode(kExitNoWindow);  // the dialog could not be shown
    if (result == IDOK) {
        RegistryProfile profile(kRegistryCompany, AppName());
        WriteSettings(profile, dialog.cycleLength, dialog.speed, dialog.build);
    }
    return FALSE;
}

BOOL ScreenSaverApp::StartPreview(const char* handleArgument) {
    // The pane must be a window that exists; anything else ends quietly.
    const long long handle = ParseDecimalHandle(handleArgument);
    HWND pane = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    if (handle == 0 || !IsWindow(pane)) {
        SetExitCode(kExitBadCommandLine);
        return FALSE;
    }
    auto* window = new CanvasWnd(*new CanvasWindow(1, ProcessGdiObjects()), true);
    RECT client{};
    GetClientRect(pane, &client);
    if (!window->CreateCanvas(0, WS_CHILD | WS_VISIBLE, client, pane)) {
        SetExitCode(kExitNoWindow);
        return FALSE;
    }
    SetMainWindow(window);
    return TRUE;
}

BOOL ScreenSaverApp::StartSaver() {
    auto* window = new FullScreenWnd(*new FullScreenWindow(ProcessGdiObjects()));
    if (!window->CreateFullScreen()) {
        SetExitCode(kExitNoWindow);
        return FALSE;
    }
    SetMainWindow(window);
    return TRUE;
}

}  // namespace tessaly::win32
