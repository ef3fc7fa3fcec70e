#pragma once
// The hot key value: bits 0 to 12 the virtual-key code, 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt; 0 means no hot key (Print Screen alone is 44).
#include <cstdint>
#include <string>

namespace korvan {

inline constexpr uint16_t kHotKeyShift = 0x2000;
inline constexpr uint16_t kHotKeyCtrl = 0x4000;
inline constexpr uint16_t kHotKeyAlt = 0x8000;
inline constexpr uint16_t kHotKeyCodeMask = 0x1FFF;

// Modifiers of RegisterHotKey.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

struct ShiftState {
    bool shift = false, ctrl = false, alt = false;
    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

inline unsigned HotKeyModifiers(uint16_t value) {
    return ((value & kHotKeyShift) ? kModShift : 0) | ((value & kHotKeyCtrl) ? kModControl : 0) |
           ((value & kHotKeyAlt) ? kModAlt : 0);
}
inline unsigned HotKeyCode(uint16_t value) { return value & kHotKeyCodeMask; }
inline ShiftState HotKeyShift(uint16_t value) {
    return {(value & kHotKeyShift) != 0, (value & kHotKeyCtrl) != 0, (value & kHotKeyAlt) != 0};
}

// How a user reads the combination: "Ctrl+Alt+Left", "Print Screen", "Alt+F5".
std::string HotKeyText(uint16_t value);

} // namespace korvan
