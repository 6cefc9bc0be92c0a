// The registry profile against Wine's real registry, under a key of its own.
#include <windows.h>
#undef GetProfileInt
#undef WriteProfileInt

#include <gtest/gtest.h>

#include <string>

#include "win32/app/RegistryProfile.h"
#include "win32/framework/SystemError.h"
#include "settings/Settings.h"

namespace tessaly::win32 {
namespace {

constexpr const char* kCompany = "Tessaly Unit Tests";

class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessaly Unit Tests"); }

    static void StoreRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tessaly Unit Tests\\saver\\Config", 0, nullptr,
                                  0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    RegistryProfile profile{kCompany, "saver"};
};

TEST_F(RegistryProfileTest, PathIsSoftwareCompanyAppSection) {
    EXPECT_EQ(profile.SectionPath("Config"), "Software\\Tessaly Unit Tests\\saver\\Config");
}

TEST_F(RegistryProfileTest, AFailedWriteKeepsTheRegistrysReason) {
    RegistryProfile overlong(kCompany, std::string(300, 'a'));  // a key name longer than the registry takes
    EXPECT_FALSE(overlong.WriteProfileInt("Config", "Speed", 1));
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, overlong.SectionPath("Config").c_str(), 0, nullptr, 0,
                                        KEY_WRITE, nullptr, &key, nullptr);
    ASSERT_NE(status, ERROR_SUCCESS);
    EXPECT_EQ(overlong.WriteFailure(), SystemErrorText(static_cast<DWORD>(status)));
}

TEST_F(RegistryProfileTest, MissingKeyOrValueGivesTheDefault) {
    EXPECT_EQ(profile.GetProfileInt("Config", "Speed", 60), 60u);
    ASSERT_TRUE(profile.WriteProfileInt("Config", "Build", 1));
    EXPECT_EQ(profile.GetProfileInt("Config", "Speed", 60), 60u);
}

TEST_F(RegistryProfileTest, WrittenValuesAreDwordsReadBackUnsigned) {
    ASSERT_TRUE(profile.WriteProfileInt("Config", "cycle_length", 30));
    ASSERT_TRUE(profile.WriteProfileInt("Config", "Speed", -1));
    EXPECT_EQ(profile.GetProfileInt("Config", "cycle_length", 5), 30u);
    EXPECT_EQ(profile.GetProfileInt("Config", "Speed", 60), 0xFFFFFFFFu);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tessaly Unit Tests\\saver\\Config", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    RegQueryValueExA(key, "cycle_length", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 30u);
}

TEST_F(RegistryProfileTest, ValuesOfAnotherTypeGiveTheDefault) {
    StoreRaw("Speed", REG_SZ, "100", 4);
    const DWORD four = 77;
    StoreRaw("Build", REG_BINARY, &four, sizeof four);
    const unsigned long long wide = 12;
    StoreRaw("cycle_length", REG_QWORD, &wide, sizeof wide);
    EXPECT_EQ(profile.GetProfileInt("Config", "Speed", 60), 60u);
    EXPECT_EQ(profile.GetProfileInt("Config", "Build", 0), 0u);
    EXPECT_EQ(profile.GetProfileInt("Config", "cycle_length", 5), 5u);
}

TEST_F(RegistryProfileTest, LoadSettingsAppliesTheRangeRulesToStoredValues) {
    profile.WriteProfileInt("Config", "cycle_length", 1001);
    profile.WriteProfileInt("Config", "Speed", static_cast<int32_t>(0x80000000u));
    profile.WriteProfileInt("Config", "Build", 2);
    GardenState state;
    LoadSettings(profile, state);
    EXPECT_EQ(state.cycleLengthSetting, 5);
    EXPECT_EQ(state.speedSetting, 60);
    EXPECT_EQ(state.buildSetting, 2);
}

TEST_F(RegistryProfileTest, WriteSettingsStoresTheThreeValues) {
    std::string error;
    ASSERT_TRUE(WriteSettings(profile, 30, 1, 1, error)) << error;
    EXPECT_EQ(profile.GetProfileInt("Config", "cycle_length", 0), 30u);
    EXPECT_EQ(profile.GetProfileInt("Config", "Speed", 0), 1u);
    EXPECT_EQ(profile.GetProfileInt("Config", "Build", 0), 1u);
}

}  // namespace
}  // namespace tessaly::win32
