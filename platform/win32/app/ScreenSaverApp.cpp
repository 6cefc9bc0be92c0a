#include "win32/app/ScreenSaverApp.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "win32/app/PreviewHandle.h"
#include "win32/app/Win32CanvasHost.h"
#include "win32/app/Win32SaverHost.h"
#include "win32/app/RegistryProfile.h"
#include "win32/app/SettingsDialog.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "settings/Settings.h"
#include "shell/ExitCodes.h"
#include "shell/ModeSwitch.h"

namespace tessaly::win32 {

BOOL ScreenSaverApp::InitInstance() {
    // The dialog look: the manifest asks for Common Controls 6, which must be
    // loaded before the first dialog so its controls take the current style.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegistryProfile profile(kRegistryCompany, AppName());
    LoadSettings(profile, state_);
    state_.random.Seed(static_cast<uint32_t>(std::time(nullptr)));

    switch (ParseModeSwitch(__argc, __argv)) {
        case RunMode::Settings: return RunSettings();
        case RunMode::Preview: return StartPreview(__argc > 2 ? __argv[2] : nullptr);
        case RunMode::Saver: return StartSaver();
        case RunMode::None: break;
    }
    SetExitCode(kExitUsage);
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
    if (result == -1) SetExitCode(kExitFailed);  // the dialog could not be shown
    if (result == IDOK) {
        RegistryProfile profile(kRegistryCompany, AppName());
        // Nobody reads a saver's output: the exit code is its only report.
        if (std::string error; !WriteSettings(profile, dialog.cycleLength, dialog.speed, dialog.build, error))
            SetExitCode(kExitFailed);
    }
    return FALSE;
}

BOOL ScreenSaverApp::StartPreview(const char* handleArgument) {
    // The pane must be a window that exists; anything else ends quietly.
    const long long handle = ParseDecimalHandle(handleArgument);
    HWND pane = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    if (handle == 0 || !IsWindow(pane)) {
        SetExitCode(kExitUsage);
        return FALSE;
    }
    auto* window = new Win32CanvasHost(CanvasSource::Preview(session_), Win32CanvasHost::WhenGone::DeleteThis);
    RECT client{};
    GetClientRect(pane, &client);
    if (!window->CreateCanvas(0, WS_CHILD | WS_VISIBLE, client, pane)) {
        SetExitCode(kExitFailed);
        return FALSE;
    }
    SetMainWindow(window);
    return TRUE;
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM monitors) {
    reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*rect);
    return TRUE;
}

// Every monitor's rectangle in virtual-screen coordinates; the primary
// screen when the system lists none.
std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) monitors.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

}  // namespace

// One topmost canvas window per monitor, each with its own garden; the
// first trigger on any of them ends the run and the message loop, and Run
// then closes every window.
BOOL ScreenSaverApp::StartSaver() {
    for (const RECT& monitor : Monitors()) {
        auto* window = new Win32SaverHost(session_);
        if (!window->CreateFullScreen(monitor)) {
            SetExitCode(kExitFailed);
            CloseSaverWindows();  // a saver missing a monitor would not hide the screen
            return FALSE;
        }
        saverWindows_.push_back(window->GetSafeHwnd());
        if (MainWindow() == nullptr) SetMainWindow(window);
    }
    return TRUE;
}

int ScreenSaverApp::Run() {
    const int code = WinApp::Run();
    CloseSaverWindows();
    return code;
}

void ScreenSaverApp::CloseSaverWindows() {
    SetMainWindow(nullptr);
    for (HWND window : saverWindows_)
        if (IsWindow(window)) DestroyWindow(window);  // each lets go of its canvas as it goes
    saverWindows_.clear();
    session_.TearDown();
}

}  // namespace tessaly::win32
