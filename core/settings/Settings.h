// The three settings: process-wide, loaded once at start-up with their
// defaults and range checks, written back only when the user confirms.
#pragma once

#include <cstdint>

namespace tessaly {

extern int32_t cycleLengthSetting;  // 10 until loaded
extern int32_t speedSetting;        // 60 until loaded
extern int32_t buildSetting;        // 0 until loaded

constexpr const char* kSettingsSection = "Config";
constexpr const char* kCycleLengthEntry = "cycle_length";
constexpr const char* kSpeedEntry = "Speed";
constexpr const char* kBuildEntry = "Build";

constexpr uint32_t kDefaultCycleLength = 5;
constexpr uint32_t kDefaultSpeed = 60;
constexpr uint32_t kDefaultBuild = 0;

// Where stored settings come from: the registry on Windows, a file elsewhere.
// Like the profile functions it returns the stored 32-bit value unsigned, or
// the default when there is none.
class ProfileReader {
public:
    virtual ~ProfileReader() = default;
    virtual uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue) = 0;
};

class ProfileWriter {
public:
    virtual ~ProfileWriter() = default;
    virtual bool WriteProfileInt(const char* section, const char* entry, int32_t value) = 0;
};

// cycle_length, then Speed, then Build, with the range checks.
void LoadSettings(ProfileReader& reader);
// The dialog's confirmed values, in the order cycle_length, Speed, Build.
void WriteSettings(ProfileWriter& writer, int32_t cycleLength, int32_t speed, int32_t build);

}  // namespace tessaly
