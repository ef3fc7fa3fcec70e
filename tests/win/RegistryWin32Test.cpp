// Registry values as stored by any program: a string of odd byte length, or without its
// closing null, is read as its whole characters up to the first null, never further.
#include "platform/win32/RegistryWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace korvan::win {
namespace {

const wchar_t kKey[] = L"Software\\KorvanScreenshotTest\\Values";

TEST(RegistryWin32, StoredBytesAreReadAsWholeCharactersOnly) {
    const struct {
        DWORD type;
        std::vector<BYTE> bytes;
        RegistryValue::Type readType;
        const wchar_t* text;
    } cases[] = {
        {REG_SZ, {'A', 0, 'B', 0, 0, 0}, RegistryValue::Type::String, L"AB"},
        {REG_SZ, {'A', 0, 'B', 0}, RegistryValue::Type::String, L"AB"},          // no closing null
        {REG_SZ, {'A', 0, 'B', 0, 'C'}, RegistryValue::Type::String, L"AB"},     // half a character
        {REG_SZ, {'A', 0, 'B', 0, 'C', 0, 'D'}, RegistryValue::Type::String, L"ABC"},
        {REG_SZ, {'A'}, RegistryValue::Type::String, L""},
        {REG_SZ, {}, RegistryValue::Type::String, L""},
        {REG_SZ, {'A', 0, 0, 0, 'B', 0}, RegistryValue::Type::String, L"A"},     // up to the first null
        {REG_EXPAND_SZ, {0xE4, 0, 'x', 0, 'y'}, RegistryValue::Type::String, L"\u00E4x"},
        {REG_DWORD, {7, 0, 0, 0}, RegistryValue::Type::Dword, L""},
        {REG_DWORD, {7, 0, 0}, RegistryValue::Type::Other, L""},
        {REG_BINARY, {1, 2, 3}, RegistryValue::Type::Other, L""},
    };
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegistryWin32 registry;
    int index = 0;
    for (const auto& c : cases) {
        const std::wstring name = L"value" + std::to_wstring(index++);
        ASSERT_EQ(::RegSetValueExW(key, name.c_str(), 0, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size())),
                  ERROR_SUCCESS);
        std::optional<RegistryValue> value = registry.ReadValue(kKey, name);
        ASSERT_TRUE(value) << index;
        EXPECT_EQ(value->type, c.readType) << index;
        if (c.readType == RegistryValue::Type::String) {
            EXPECT_EQ(value->text, c.text) << index;
        }
        if (c.readType == RegistryValue::Type::Dword) {
            EXPECT_EQ(value->dword, 7u) << index;
        }
    }
    EXPECT_FALSE(registry.ReadValue(kKey, L"missing"));
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KorvanScreenshotTest");
}

} // namespace
} // namespace korvan::win
