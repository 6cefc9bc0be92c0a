#include "win32/app/SettingsDialog.h"

#include "win32/app/AboutDialog.h"
#include "win32/app/Resources.h"
#include "win32/framework/WinApp.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "settings/Settings.h"

namespace tessaly::win32 {

const MessageEntry<SettingsDialog> SettingsDialog::kMessages[] = {
    {WM_HSCROLL, &SettingsDialog::OnHScroll},
    {WM_SYSCOMMAND, &SettingsDialog::OnSysCommand},
};

const CommandEntry<SettingsDialog> SettingsDialog::kClicks[] = {
    {IDC_STEP_BUILD, &SettingsDialog::OnStepBuildClicked},
    {IDC_ABOUT_BUTTON, &SettingsDialog::RunAboutBox},
};

SettingsDialog::SettingsDialog(GardenState& state)
    : Dialog(IDD_SETTINGS),
      preview(std::make_unique<CanvasWindow>(state, ProcessGdiObjects())),
      previewWindow_(CanvasSource::Borrowed(preview), Win32CanvasHost::WhenGone::Stay) {}

void SettingsDialog::DoDataExchange(DataExchange& dx) {
    DDX_Control(dx, IDC_SPEED_BAR, speedBar);
    DDX_Control(dx, IDC_CYCLE_BAR, cycleBar);
    DDX_Scroll(dx, IDC_SPEED_BAR, speed);
    DDX_Scroll(dx, IDC_CYCLE_BAR, cycleLength);
    DDX_Check(dx, IDC_STEP_BUILD, build);
}

BOOL SettingsDialog::OnInitDialog() {
    Dialog::OnInitDialog();

    // The preview covers the hidden frame control's outer rectangle, border included.
    RECT frame{};
    GetWindowRect(GetDlgItem(GetSafeHwnd(), IDC_PREVIEW_FRAME), &frame);
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&frame), 2);
    // A dialog whose preview cannot be made still sets the saver up.
    std::string ignored;
    previewWindow_.CreateCanvas(0, WS_CHILD | WS_VISIBLE, frame, GetSafeHwnd(), ignored);

    UpdateData(false);
    model_.Initialise(SettingsValues{cycleLength, speed, build});
    const SettingRule& cycle = kSettingRules[kCycleLengthSetting];
    const SettingRule& speedRule = kSettingRules[kSpeedSetting];
    cycleBar.SetScrollRange(cycle.sliderMin, cycle.sliderMax);
    speedBar.SetScrollRange(speedRule.sliderMin, speedRule.sliderMax);
    cycleBar.SetScrollPos(model_.Position(Slider::Cycle));
    speedBar.SetScrollPos(model_.Position(Slider::Speed));
    CenterWindow();

    HMENU systemMenu = GetSystemMenu(GetSafeHwnd(), FALSE);
    char text[256] = {};
    if (systemMenu != nullptr &&
        LoadStringA(WinApp::Current()->Instance(), IDS_ABOUT_SAVER, text, sizeof text) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, kAboutCommand, text);
    }
    return TRUE;
}

bool SettingsDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           Dialog::OnWndMsg(message, wParam, lParam, result);
}

LRESULT SettingsDialog::OnHScroll(WPARAM wParam, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    if (sender == speedBar.GetSafeHwnd()) {
        speedBar.SetScrollPos(model_.Scroll(Slider::Speed, LOWORD(wParam), HIWORD(wParam)));
    } else if (sender == cycleBar.GetSafeHwnd()) {
        cycleBar.SetScrollPos(model_.Scroll(Slider::Cycle, LOWORD(wParam), HIWORD(wParam)));
    }
    return Default();
}

bool SettingsDialog::OnClicked(WORD id) {
    return DispatchClickFromTable(this, kClicks, id) || Dialog::OnClicked(id);
}

void SettingsDialog::OnStepBuildClicked() {
    UpdateData(true);
    model_.BuildClicked(build != 0);
}

LRESULT SettingsDialog::OnSysCommand(WPARAM command, LPARAM) {
    if ((command & ~static_cast<WPARAM>(0xF)) == kAboutCommand) {
        RunAboutBox();
        return 0;
    }
    return Default();
}

void SettingsDialog::RunAboutBox() {
    AboutDialog about;
    about.DoModal();
}

}  // namespace tessaly::win32
