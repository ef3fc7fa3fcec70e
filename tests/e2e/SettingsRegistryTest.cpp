// The frame-key settings in the registry after a first run.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

TEST(SettingsRegistry, FirstRunStoresTheEighteenDefaults) {
    EXPECT_FALSE(KeyExists(L"Software\\Snapdeck2"));
    Program program;
    const wchar_t* cursor = L"Software\\Snapdeck2\\keysettings\\Cursor";
    struct Expected {
        const wchar_t* name;
        DWORD value;
    } values[] = {{L"FM_L", 37},    {L"FM_R", 39},    {L"FM_U", 38},    {L"FM_D", 40},    {L"SM_L", 32805},
                  {L"SM_R", 32807}, {L"SM_U", 32806}, {L"SM_D", 32808}, {L"FR_L", 16421}, {L"FR_R", 16423},
                  {L"FR_U", 16422}, {L"FR_D", 16424}, {L"SR_L", 8229},  {L"SR_R", 8231},  {L"SR_U", 8230},
                  {L"SR_D", 8232},  {L"enable", 0},   {L"further", 0}};
    for (const Expected& e : values) EXPECT_EQ(ReadDword(cursor, e.name), e.value) << e.name;
    EXPECT_TRUE(KeyExists(L"Software\\Snapdeck2\\keysettings\\hotkey"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, cursor, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD count = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    EXPECT_EQ(count, 18u);
}

} // namespace
} // namespace korvan::e2e
