// Resource and control ids shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDS_ABOUT_SAVER 101
#define IDI_FLOWER 100
#define IDC_INVISIBLE 129
#define IDD_SETTINGS 2003
#define IDD_ABOUT 101

#define IDC_SPEED_BAR 1002
#define IDC_CYCLE_BAR 1004
#define IDC_PREVIEW_FRAME 1006
#define IDC_STEP_BUILD 1008
#define IDC_ABOUT_BUTTON 3

#ifdef __cplusplus
namespace tessaly::win32 {
constexpr int kInvisibleCursorId = IDC_INVISIBLE;
// The system-menu command that opens the About box.
constexpr unsigned kAboutCommand = 0x10;
}  // namespace tessaly::win32
#endif
