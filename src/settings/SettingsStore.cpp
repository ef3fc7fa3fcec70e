#include "settings/SettingsStore.h"

#include <optional>

namespace korvan {
namespace {

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
}

} // namespace

const wchar_t* const SettingsStore::kValueNames[16] = {L"FM_L", L"FM_R", L"FM_U", L"FM_D", L"SM_L", L"SM_R",
                                                       L"SM_U", L"SM_D", L"FR_L", L"FR_R", L"FR_U", L"FR_D",
                                                       L"SR_L", L"SR_R", L"SR_U", L"SR_D"};

bool SettingsStore::Exists() { return registry_.OpenKey(kKeySettings, false); }

std::string SettingsStore::ReadDword(const wchar_t* name, uint32_t& out) {
    std::optional<RegistryValue> value = registry_.ReadValue(kCursor, name);
    if (!value) return "Failed to get data for '" + Narrow(name) + "'";
    if (value->type != RegistryValue::Type::Dword) return "Invalid data type for '" + Narrow(name) + "'";
    out = value->dword;
    return {};
}

std::string SettingsStore::Read(FrameKeySettings& fields) {
    registry_.OpenKey(kRoot, false);
    registry_.OpenKey(kCursor, false);
    for (size_t i = 0; i < 16; ++i) {
        uint32_t value = 0;
        if (std::string error = ReadDword(kValueNames[i], value); !error.empty()) return error;
        fields.HotKey[i] = static_cast<uint16_t>(value);
    }
    uint32_t flag = 0;
    if (std::string error = ReadDword(L"enable", flag); !error.empty()) return error;
    fields.EnableFrameKeys = flag != 0;
    if (std::string error = ReadDword(L"further", flag); !error.empty()) return error;
    fields.KeepEnabled = flag != 0;
    return {};
}

void SettingsStore::Write(const FrameKeySettings& fields) {
    registry_.OpenKey(kKeySettings, true);
    registry_.OpenKey(kCursor, true);
    registry_.OpenKey(kHotkey, true);
    registry_.OpenKey(kRoot, true);
    registry_.OpenKey(kCursor, true);
    for (size_t i = 0; i < 16; ++i) registry_.WriteValue(kCursor, kValueNames[i], RegistryValue::Dword(fields.HotKey[i]));
    bool keepEnabled = fields.KeepEnabled && fields.EnableFrameKeys;
    registry_.WriteValue(kCursor, L"enable", RegistryValue::Dword(keepEnabled ? 1 : 0));
    registry_.WriteValue(kCursor, L"further", RegistryValue::Dword(fields.KeepEnabled ? 1 : 0));
    registry_.OpenKey(kHotkey, true);
}

} // namespace korvan
