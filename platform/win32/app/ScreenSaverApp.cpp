#include "win32/app/ScreenSaverApp.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "win32/app/FailureReport.h"
#include "win32/app/PreviewHandle.h"
#include "win32/app/Win32CanvasHost.h"
#include "win32/app/Win32SaverHost.h"
#include "win32/app/RegistryProfile.h"
#include "win32/app/SettingsDialog.h"
#include "win32/framework/SystemError.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "settings/Settings.h"
#include "shell/ExitCodes.h"
#include "shell/ModeSwitch.h"
#include "shell/Printable.h"

namespace tessaly::win32 {

BOOL ScreenSaverApp::InitInstance() {
    // The dialog look: the manifest asks for Common Controls 6, which must be
    // loaded before the first dialog so its controls take the current style.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegistryProfile profile(kRegistryCompany, AppName());
    LoadSettings(profile, state_);
    state_.random.Seed(static_cast<uint32_t>(std::time(nullptr)));

    const RunMode mode = ParseModeSwitch(__argc, __argv);
    std::string error;
    int failure = kExitFailed;
    switch (mode) {
        case RunMode::Settings:
            if (RunSettings(error)) return FALSE;  // the dialog has run: no message loop follows
            break;
        case RunMode::Preview:
            if (HWND pane = nullptr; !PreviewPane(__argc > 2 ? __argv[2] : nullptr, pane, error)) {
                failure = kExitUsage;
            } else if (StartPreview(pane, error)) {
                return TRUE;
            }
            break;
        case RunMode::Saver:
            if (StartSaver(error)) return TRUE;
            break;
        case RunMode::None:
            error = "'" + Printable(__argv[1]) + "' names no mode (/s, /p HWND or /c)";
            failure = kExitUsage;
            break;
    }
    ReportFailure(error, mode == RunMode::Settings);
    SetExitCode(failure);
    return FALSE;
}

bool ScreenSaverApp::RunSettings(std::string& error) {
    SettingsDialog dialog(state_);
    dialog.cycleLength = state_.cycleLengthSetting;
    dialog.speed = state_.speedSetting;
    dialog.build = state_.buildSetting;
    SetMainWindow(&dialog);
    const INT_PTR result = dialog.DoModal();
    const DWORD code = GetLastError();
    SetMainWindow(nullptr);
    if (result == -1) {
        error = "cannot show the settings dialog: " + SystemErrorText(code);
        return false;
    }
    if (result != IDOK) return true;
    RegistryProfile profile(kRegistryCompany, AppName());
    if (WriteSettings(profile, dialog.cycleLength, dialog.speed, dialog.build, error)) return true;
    error += ": " + profile.WriteFailure();
    return false;
}

bool ScreenSaverApp::StartPreview(HWND pane, std::string& error) {
    auto* window = new Win32CanvasHost(CanvasSource::Preview(session_), Win32CanvasHost::WhenGone::DeleteThis);
    RECT client{};
    GetClientRect(pane, &client);
    if (!window->CreateCanvas(0, WS_CHILD | WS_VISIBLE, client, pane, error)) {
        error = "cannot make the preview's window: " + error;
        return false;
    }
    SetMainWindow(window);
    return true;
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
bool ScreenSaverApp::StartSaver(std::string& error) {
    const std::vector<RECT> monitors = Monitors();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        auto* window = new Win32SaverHost(session_);
        if (!window->CreateFullScreen(monitors[i], error)) {
            error = "cannot cover monitor " + std::to_string(i + 1) + " of " + std::to_string(monitors.size()) + ": " +
                    error;
            CloseSaverWindows();  // a saver missing a monitor would not hide the screen
            return false;
        }
        saverWindows_.push_back(window->GetSafeHwnd());
        if (MainWindow() == nullptr) SetMainWindow(window);
    }
    return true;
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
