#include "platform/HotKeyValue.h"

namespace korvan {
namespace {

std::string KeyName(unsigned code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    if (code >= 0x70 && code <= 0x87) return std::string("F") + std::to_string(code - 0x6F);
    if (code >= 0x60 && code <= 0x69) return std::string("Num ") + std::to_string(code - 0x60);
    switch (code) {
    case 0x08: return "Backspace";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x13: return "Pause";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "Page Up";
    case 0x22: return "Page Down";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2C: return "Print Screen";
    case 0x2D: return "Insert";
    case 0x2E: return "Delete";
    default: return "Key " + std::to_string(code);
    }
}

} // namespace

std::string HotKeyText(uint16_t value) {
    std::string text;
    if (value & kHotKeyCtrl) text += "Ctrl+";
    if (value & kHotKeyShift) text += "Shift+";
    if (value & kHotKeyAlt) text += "Alt+";
    return text + KeyName(HotKeyCode(value));
}

} // namespace korvan
