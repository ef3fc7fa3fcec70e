#pragma once
// The toolbar without a mouse: keys move a focus mark between the shown buttons and
// press the marked one; a button whose work also has a key of its own names that key
// in its hint.
#include "app/MessageTexts.h"
#include "app/ToolbarLayout.h"

#include <optional>
#include <span>

namespace korvan {

enum class ToolbarKey {
    Next,      // Tab, Right, Down
    Previous,  // Shift+Tab, Left, Up
    First,     // Home
    Last,      // End
    Press,     // Enter, Space
};

// The button (index into kToolButtons) that has the focus after key; hidden buttons are
// passed over and the ends wrap round. Press leaves the focus where it is. A focus on a
// hidden button (or none, -1) moves to the first shown button for any key.
int MoveToolbarFocus(int focus, ToolbarKey key, std::span<const ToolButtonDesign> buttons);

// The line that names a command's own key in its button's hint, if it has one.
std::optional<MessageText> ShortcutLineOf(Command command);

} // namespace korvan
