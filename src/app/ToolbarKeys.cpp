#include "app/ToolbarKeys.h"

namespace korvan {
namespace {

int Step(int from, int step, std::span<const ToolButtonDesign> buttons) {
    auto count = static_cast<int>(buttons.size());
    for (int index = from, tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (buttons[static_cast<size_t>(index)].visible) return index;
    }
    return -1;
}

} // namespace

int MoveToolbarFocus(int focus, ToolbarKey key, std::span<const ToolButtonDesign> buttons) {
    auto count = static_cast<int>(buttons.size());
    bool onShownButton = focus >= 0 && focus < count && buttons[static_cast<size_t>(focus)].visible;
    if (!onShownButton) return Step(-1, 1, buttons);
    switch (key) {
    case ToolbarKey::Next: return Step(focus, 1, buttons);
    case ToolbarKey::Previous: return Step(focus, -1, buttons);
    case ToolbarKey::First: return Step(-1, 1, buttons);
    case ToolbarKey::Last: return Step(count, -1, buttons);
    case ToolbarKey::Press: return focus;
    }
    return focus;
}

std::optional<MessageText> ShortcutLineOf(Command command) {
    switch (command) {
    case Command::Frame: return MessageText::FrameShortcut;
    case Command::Desktop: return MessageText::DesktopShortcut;
    case Command::Help: return MessageText::HelpShortcut;
    case Command::Exit: return MessageText::ExitShortcut;
    default: return std::nullopt;
    }
}

} // namespace korvan
