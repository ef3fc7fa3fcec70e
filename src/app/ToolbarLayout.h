#pragma once
// The main window's toolbar buttons, left to right, as designed.
#include <array>

namespace korvan {

enum class Command : int {
    Save = 101,
    Frame,       // shows the grabber frame, or captures its inside when it is shown
    HideFrame,
    Area,
    Object,
    Window,      // arms the window pick
    Desktop,
    Options,
    Help,        // its button is hidden; F1 opens the help too
    Info,
    Exit,
};

// Each button's hint comes from the string table at base + tag.
struct ToolButtonDesign {
    int tag;
    int imageIndex;
    bool visible;
    Command command;
};

inline constexpr std::array<ToolButtonDesign, 11> kToolButtons{{
    {1, 3, true, Command::Save},
    {2, 6, true, Command::Frame},
    {3, 9, true, Command::HideFrame},
    {4, 0, true, Command::Area},
    {5, 8, true, Command::Object},
    {6, 2, true, Command::Window},
    {7, 7, true, Command::Desktop},
    {8, 5, true, Command::Options},
    {51, 1, false, Command::Help},
    {9, 1, true, Command::Info},
    {11, 4, true, Command::Exit},
}};

} // namespace korvan
