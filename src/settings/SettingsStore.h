#pragma once
// The frame-key settings in the current user's registry: the sixteen combinations,
// whether the keys are enabled, and whether that enabled state survives the session.
#include "frame/FrameKeys.h"
#include "platform/Registry.h"

#include <functional>
#include <string>

namespace korvan {

// The fields of the options dialog that the store fills and writes.
struct FrameKeySettings {
    FrameKeyCombinations HotKey = kDefaultFrameKeys;  // HotKey1 .. HotKey16
    bool EnableFrameKeys = false;
    bool KeepEnabled = false;
};

class SettingsStore {
public:
    static constexpr const wchar_t* kRoot = L"\\Software\\Snapdeck2";
    static constexpr const wchar_t* kKeySettings = L"\\Software\\Snapdeck2\\keysettings";
    static constexpr const wchar_t* kCursor = L"\\Software\\Snapdeck2\\keysettings\\Cursor";
    static constexpr const wchar_t* kHotkey = L"\\Software\\Snapdeck2\\keysettings\\hotkey";
    // Value names in the order of HotKey1 .. HotKey16.
    static const wchar_t* const kValueNames[16];

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
    std::string ReadDword(const wchar_t* name, uint32_t& out);
    IRegistry& registry_;
};

} // namespace korvan
