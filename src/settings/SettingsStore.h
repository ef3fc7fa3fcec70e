#pragma once
// The frame-key settings in the current user's registry: the sixteen combinations,
// whether the keys are enabled, and whether that enabled state survives the session.
#include "frame/FrameKeys.h"
#include "platform/Registry.h"

#include <string>

namespace korvan {

// The fields of the options dialog that the store fills and writes. Their initial
// values are what a first run stores: the frame's default combinations, both off.
struct FrameKeySettings {
    FrameKeyCombinations HotKey = kDefaultFrameKeys;  // HotKey1 .. HotKey16
    bool EnableFrameKeys = false;
    bool KeepEnabled = false;  // "Store for further session"
};

// One value of the "Cursor" key, a DWORD: its name and the field it holds. A combination
// is the field's hot key value as an unsigned 16-bit number; a switch is written as 0 or
// 1 and read as true when it is not 0.
struct CursorValue {
    enum class Kind { Combination, Switch };
    const wchar_t* name;
    Kind kind;
    int combination = -1;                      // HotKey1 .. HotKey16 as 0 .. 15
    bool FrameKeySettings::*setting = nullptr;  // for a switch
};

// The layout of the "Cursor" key, in the order of loading and saving.
inline constexpr CursorValue kCursorValues[] = {
    {L"FM_L", CursorValue::Kind::Combination, 0},  {L"FM_R", CursorValue::Kind::Combination, 1},
    {L"FM_U", CursorValue::Kind::Combination, 2},  {L"FM_D", CursorValue::Kind::Combination, 3},
    {L"SM_L", CursorValue::Kind::Combination, 4},  {L"SM_R", CursorValue::Kind::Combination, 5},
    {L"SM_U", CursorValue::Kind::Combination, 6},  {L"SM_D", CursorValue::Kind::Combination, 7},
    {L"FR_L", CursorValue::Kind::Combination, 8},  {L"FR_R", CursorValue::Kind::Combination, 9},
    {L"FR_U", CursorValue::Kind::Combination, 10}, {L"FR_D", CursorValue::Kind::Combination, 11},
    {L"SR_L", CursorValue::Kind::Combination, 12}, {L"SR_R", CursorValue::Kind::Combination, 13},
    {L"SR_U", CursorValue::Kind::Combination, 14}, {L"SR_D", CursorValue::Kind::Combination, 15},
    {L"enable", CursorValue::Kind::Switch, -1, &FrameKeySettings::EnableFrameKeys},
    {L"further", CursorValue::Kind::Switch, -1, &FrameKeySettings::KeepEnabled},
};

class SettingsStore {
public:
    static constexpr const wchar_t* kRoot = L"\\Software\\Snapdeck2";
    static constexpr const wchar_t* kKeySettings = L"\\Software\\Snapdeck2\\keysettings";
    static constexpr const wchar_t* kCursor = L"\\Software\\Snapdeck2\\keysettings\\Cursor";
    static constexpr const wchar_t* kHotkey = L"\\Software\\Snapdeck2\\keysettings\\hotkey";

    explicit SettingsStore(IRegistry& registry) : registry_(registry) {}

    // Whether settings were ever stored (the keysettings key exists).
    bool Exists();
    // Reads the values into the fields, in order. Answers an empty text, or the error
    // that stopped the load: the fields keep what was read before it.
    std::string Read(FrameKeySettings& fields);
    // Writes every value from the fields; "enable" survives only with KeepEnabled.
    void Write(const FrameKeySettings& fields);
    // The load's last step: the (empty) hotkey key is opened, never created.
    void OpenHotkeyKey() { registry_.OpenKey(kHotkey, false); }

private:
    IRegistry& registry_;
};

} // namespace korvan
