#include "app/ToolbarKeys.h"

#include <gtest/gtest.h>

#include <array>

namespace korvan {
namespace {

constexpr int kSave = 0, kFrame = 1, kWindow = 5, kDesktop = 6, kOptions = 7, kHelp = 8, kInfo = 9, kExit = 10;

// Keys move the focus over the shown buttons, round the ends; the hidden help button is
// passed over, and a focus nowhere (or on it) starts at the first button.
TEST(ToolbarKeys, FocusMovesOverTheShownButtons) {
    struct Case {
        int focus;
        ToolbarKey key;
        int expected;
    } cases[] = {
        {kSave, ToolbarKey::Next, kFrame},        {kOptions, ToolbarKey::Next, kInfo},
        {kInfo, ToolbarKey::Previous, kOptions},  {kExit, ToolbarKey::Next, kSave},
        {kSave, ToolbarKey::Previous, kExit},     {kWindow, ToolbarKey::First, kSave},
        {kFrame, ToolbarKey::Last, kExit},        {kDesktop, ToolbarKey::Press, kDesktop},
        {-1, ToolbarKey::Previous, kSave},        {kHelp, ToolbarKey::Next, kSave},
        {11, ToolbarKey::Press, kSave},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoveToolbarFocus(c.focus, c.key, kToolButtons), c.expected)
            << "from " << c.focus << " key " << static_cast<int>(c.key);
}

TEST(ToolbarKeys, NoShownButtonGivesNoFocus) {
    std::array<ToolButtonDesign, 2> hidden{{{1, 0, false, Command::Save}, {2, 0, false, Command::Frame}}};
    EXPECT_EQ(MoveToolbarFocus(0, ToolbarKey::Next, hidden), -1);
    EXPECT_EQ(MoveToolbarFocus(-1, ToolbarKey::First, hidden), -1);
}

// The buttons whose work has a key of its own: Print Screen for the frame and the desktop,
// F1 for help, Alt+F4 for exit; the others have none.
TEST(ToolbarKeys, HintsNameTheKeysThereAre) {
    for (const ToolButtonDesign& button : kToolButtons) {
        std::optional<MessageText> line = ShortcutLineOf(button.command);
        switch (button.command) {
        case Command::Frame: EXPECT_EQ(line, MessageText::FrameShortcut); break;
        case Command::Desktop: EXPECT_EQ(line, MessageText::DesktopShortcut); break;
        case Command::Help: EXPECT_EQ(line, MessageText::HelpShortcut); break;
        case Command::Exit: EXPECT_EQ(line, MessageText::ExitShortcut); break;
        default: EXPECT_EQ(line, std::nullopt) << static_cast<int>(button.command);
        }
    }
}

} // namespace
} // namespace korvan
