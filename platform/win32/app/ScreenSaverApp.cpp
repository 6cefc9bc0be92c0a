#include "app/ScreenSaverApp.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/PreviewHandle.h"
#include "app/Win32CanvasHost.h"
#include "app/Win32SaverHost.h"
#include "app/RegistryProfile.h"
#include "app/SettingsDialog.h"
#include "gdi/Win32GdiObjects.h"
#include "settings/Settings.h"
#include "shell/ModeSwitch.h"

namespace tessaly::win32 {

BOOL ScreenSaverApp::InitInstance() {
    RegistryProfile profile(kRegistryCompany, AppName());
    LoadSettings(profile, state_);
    state_.random.Seed(static_cast<uint32_t>(std::time(nullptr)));

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
    SettingsDialog dialog(state_);
    dialog.cycleLength = state_.cycleLengthSetting;
    dialog.speed = state_.speedSetting;
    dialog.build = state_.buildSetting;
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
    auto* window = new Win32CanvasHost(std::make_unique<CanvasWindow>(state_, ProcessGdiObjects()));
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
    auto* window = new Win32SaverHost(std::make_unique<FullScreenWindow>(state_, ProcessGdiObjects()));
    if (!window->CreateFullScreen()) {
        SetExitCode(kExitNoWindow);
        return FALSE;
    }
    SetMainWindow(window);
    return TRUE;
}

}  // namespace tessaly::win32
