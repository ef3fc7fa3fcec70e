#pragma once
// Texts of the program's own messages in the string table, in the program's language:
// German at id = number, English at id = 1000 + number (the captions' bases).
#include "platform/LanguageTables.h"

#include <cstdint>

namespace korvan {

enum class MessageText : int {
    PrintScreenHeading = 70,      // the system opens its Snipping Tool on Print Screen
    PrintScreenExplanation = 71,  // why the program's key does not fire, what switching off does
    PrintScreenSwitchOff = 72,    // button
    PrintScreenLeaveOn = 73,      // button
    PrintScreenLeaveOnForGood = 74,  // button: leave it on and do not ask again
    ShortcutLine = 75,            // "Shortcut: " before a toolbar button's key in its hint
};

inline int MessageTextId(MessageText text, uint16_t systemLanguage) {
    return LanguageBases::For(systemLanguage).caption + static_cast<int>(text);
}

} // namespace korvan
