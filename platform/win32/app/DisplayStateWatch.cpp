#include "win32/app/DisplayStateWatch.h"

#include <cstring>

namespace tessaly::win32 {

namespace {

using RegisterFunction = HANDLE(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFunction = BOOL(WINAPI*)(HANDLE);

// Null where this system's USER32 has no such function.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");  // always loaded in a program with windows
    FARPROC found = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

DisplayState ReadDisplayState(WPARAM event, LPARAM setting) {
    if (event != PBT_POWERSETTINGCHANGE || setting == 0) return DisplayState::Unrelated;
    const auto* change = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    DWORD value = 0;
    if (!IsEqualGUID(change->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) || change->DataLength < sizeof value)
        return DisplayState::Unrelated;
    std::memcpy(&value, change->Data, sizeof value);
    return value == 0 ? DisplayState::Off : DisplayState::Seen;
}

void DisplayStateWatch::Start(HWND window) {
    Stop();
    const auto registerFor = User32Function<RegisterFunction>("RegisterPowerSettingNotification");
    if (registerFor != nullptr) registration_ = registerFor(window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void DisplayStateWatch::Stop() {
    if (registration_ == nullptr) return;
    const auto unregister = User32Function<UnregisterFunction>("UnregisterPowerSettingNotification");
    if (unregister != nullptr) unregister(registration_);
    registration_ = nullptr;
}

}  // namespace tessaly::win32
