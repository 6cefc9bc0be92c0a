#include <windows.h>
// The core's profile interface uses the plain names; windows.h maps them to
// the INI-file functions.
#undef GetProfileInt
#undef WriteProfileInt

#include "win32/app/RegistryProfile.h"

#include <utility>

#include "win32/framework/SystemError.h"

namespace tessaly::win32 {

RegistryProfile::RegistryProfile(std::string company, std::string appName)
    : company_(std::move(company)), appName_(std::move(appName)) {}

std::string RegistryProfile::SectionPath(const char* section) const {
    return "Software\\" + company_ + "\\" + appName_ + "\\" + section;
}

uint32_t RegistryProfile::GetProfileInt(const char* section, const char* entry,
                                        uint32_t defaultValue) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status =
        RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return defaultValue;
    return value;
}

bool RegistryProfile::WriteProfileInt(const char* section, const char* entry, int32_t value) {
    HKEY key = nullptr;
    writeStatus_ = RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (writeStatus_ != ERROR_SUCCESS) return false;
    const DWORD stored = static_cast<DWORD>(value);
    writeStatus_ = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
    RegCloseKey(key);
    return writeStatus_ == ERROR_SUCCESS;
}

std::string RegistryProfile::WriteFailure() const { return SystemErrorText(static_cast<DWORD>(writeStatus_)); }

}  // namespace tessaly::win32
