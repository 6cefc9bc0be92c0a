// The settings dialog (template 2003): two sliders, a check box and a live
// preview canvas over the hidden frame control; opens the About box from its
// button and from its system menu.
#pragma once

#include "win32/app/Win32CanvasHost.h"
#include "canvas/CanvasWindow.h"
#include "win32/framework/Dialog.h"
#include "win32/framework/MessageMap.h"
#include "win32/framework/ScrollBar.h"
#include "shell/SettingsDialogModel.h"

namespace tessaly::win32 {

class SettingsDialog : public Dialog {
public:
    explicit SettingsDialog(GardenState& state);

    ScrollBar speedBar;
    ScrollBar cycleBar;
    int cycleLength = 0;
    int speed = 0;
    int build = 0;
    // The live preview's canvas, made with the dialog and shown in its window.
    CanvasBinding preview;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnClicked(WORD id) override;

private:
    LRESULT OnHScroll(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    void OnStepBuildClicked();
    void RunAboutBox();

    static const MessageEntry<SettingsDialog> kMessages[];
    static const CommandEntry<SettingsDialog> kClicks[];
    Win32CanvasHost previewWindow_;
    SettingsDialogModel model_{preview.Canvas()};  // what the sliders and the check box do
};

}  // namespace tessaly::win32
