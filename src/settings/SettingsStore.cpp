#include "settings/SettingsStore.h"

#include <optional>

namespace korvan {
namespace {

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
}

uint32_t StoredValue(const FrameKeySettings& fields, const CursorValue& value) {
    if (value.kind == CursorValue::Kind::Switch) return fields.*value.setting ? 1 : 0;
    return fields.HotKey[static_cast<size_t>(value.combination)];
}

void Fill(FrameKeySettings& fields, const CursorValue& value, uint32_t stored) {
    if (value.kind == CursorValue::Kind::Switch) fields.*value.setting = stored != 0;
    else fields.HotKey[static_cast<size_t>(value.combination)] = static_cast<uint16_t>(stored);
}

} // namespace

bool SettingsStore::Exists() { return registry_.OpenKey(kKeySettings, false); }

std::string SettingsStore::Read(FrameKeySettings& fields) {
    registry_.OpenKey(kRoot, false);
    registry_.OpenKey(kCursor, false);
    for (const CursorValue& value : kCursorValues) {
        std::optional<RegistryValue> stored = registry_.ReadValue(kCursor, value.name);
        if (!stored) return "Failed to get data for '" + Narrow(value.name) + "'";
        if (stored->type != RegistryValue::Type::Dword) return "Invalid data type for '" + Narrow(value.name) + "'";
        Fill(fields, value, stored->dword);
    }
    return {};
}

void SettingsStore::Write(const FrameKeySettings& fields) {
    registry_.OpenKey(kKeySettings, true);
    registry_.OpenKey(kCursor, true);
    registry_.OpenKey(kHotkey, true);
    registry_.OpenKey(kRoot, true);
    registry_.OpenKey(kCursor, true);
    // Without "Store for further session" the next run starts with the keys off.
    FrameKeySettings stored = fields;
    stored.EnableFrameKeys = fields.KeepEnabled && fields.EnableFrameKeys;
    for (const CursorValue& value : kCursorValues)
        registry_.WriteValue(kCursor, value.name, RegistryValue::Dword(StoredValue(stored, value)));
    registry_.OpenKey(kHotkey, true);
}

} // namespace korvan
