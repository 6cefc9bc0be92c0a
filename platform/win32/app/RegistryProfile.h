// Settings in the registry: HKEY_CURRENT_USER\Software\<company>\<app>\<section>,
// one REG_DWORD per value, read and written like the profile functions.
#pragma once

#include <string>

#include "settings/Settings.h"

namespace tessaly::win32 {

constexpr const char* kRegistryCompany = "Tessaly Screen Saver";

class RegistryProfile final : public ProfileReader, public ProfileWriter {
public:
    RegistryProfile(std::string company, std::string appName);

    // The stored DWORD, or the default when the value is missing or not a DWORD.
    uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) override;
    // Creates the key as needed; false when the value could not be written.
    bool WriteProfileInt(const char* section, const char* entry, int32_t value) override;
    // Why the last write that failed did, in the system's words.
    std::string WriteFailure() const;

    // "Software\<company>\<app>\<section>"
    std::string SectionPath(const char* section) const;

private:
    std::string company_;
    std::string appName_;
    long writeStatus_ = 0;  // the registry's status of the last write (a system error code)
};

}  // namespace tessaly::win32
