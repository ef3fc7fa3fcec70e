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
    // The last line of a toolbar button's hint: the key that does the button's work.
    FrameShortcut = 75,    // Print Screen, while the frame is shown
    DesktopShortcut = 76,  // Print Screen, while the frame is hidden
    HelpShortcut = 77,     // F1
    ExitShortcut = 78,     // Alt+F4
};

inline int MessageTextId(MessageText text, uint16_t systemLanguage) {
    return LanguageBases::For(systemLanguage).caption + static_cast<int>(text);
}

} // namespace korvan
