#pragma once
// The main window's toolbar buttons, left to right, as designed.
#include <array>

namespace korvan {

enum class Command : int {
    Save = 101,        // ToolButton1
    Frame,             // ToolButton2
    HideFrame,         // ToolButton3
    Area,              // ToolButton4
    Object,            // ToolButton5
    Window,            // ToolButton6
    Desktop,           // ToolButton7
    Options,           // Toolbutton10
    Help,              // ToolButton12
    Info,              // ToolButton13
    Exit,              // ToolButton16
    LargeToolbar = 201,  // switch the toolbar to 32 x 32 images
    SmallToolbar,        // switch the toolbar to 19 x 19 images
};

struct ToolButtonDesign {
    const char* name;
    int tag;
    int imageIndex;
    bool visible;
    Command command;
    const wchar_t* hint;  // designed (English) hint
};

inline constexpr std::array<ToolButtonDesign, 11> kToolButtons{{
    {"ToolButton1", 1, 3, true, Command::Save,
     L"Save your image.\n\nPossible formats are \nBITMAP, JPEG, PNG, MAC,\nEPS and PHOTOSHOP."},
    {"ToolButton2", 2, 6, true, Command::Frame,
     L"Show a static independent rectangle for grabbing.\n\nUse this button to show a static rectangle or use the \n"
     L"same button to grab the content insite the rectangle.\n\nUse the 'print screen' button too, to capture if the \n"
     L"frame is visible, otherwise the 'print screen' button\ncapture the desktop. \n\nUse 'ctrl+v' in your "
     L"application to insert the captured image!"},
    {"ToolButton3", 3, 9, true, Command::HideFrame,
     L"Hide the static independent frame,\nif it's there and you don't need it anymore."},
    {"ToolButton4", 4, 0, true, Command::Area,
     L"Grab the content with your mouse.\n\nYou can choose a frame kind in the option menu.\nYou can choose between "
     L"rectangles,\nround rectangles, triangles, circles and \nellipses.  \n\nUse 'ctrl+v' in your application to "
     L"insert the captured image!"},
    {"ToolButton5", 5, 8, true, Command::Object,
     L"Special component grabbing.\n\nChoose this button if you need \nto capture only special components.\n\nUse "
     L"'ctrl+v' in your application to insert the captured image!\n"},
    {"ToolButton6", 6, 2, true, Command::Window,
     L"Active window capture.\n\nIf you need to grab a special window\nuse this option. After Snapdeck is hide "
     L"click\nwith your mouse on the window you want to \ncapture. \n\nUse 'ctrl+v' in your application to insert "
     L"the captured image!"},
    {"ToolButton7", 7, 7, true, Command::Desktop,
     L"Full desktop capture \n\nCapture your desktop with this button.\n\nUse 'ctrl+v' in your application to "
     L"insert the captured image!"},
    {"Toolbutton10", 8, 5, true, Command::Options,
     L"Option menu\n\nHere you can choose several \nimportant options to work efficient. \nHints are descripe the "
     L"special options."},
    {"ToolButton12", 51, 1, false, Command::Help, L"Gives you some small help. "},
    {"ToolButton13", 9, 1, true, Command::Info, L"Version, web site and information about Korvan Screenshot."},
    {"ToolButton16", 11, 4, true, Command::Exit, L"Exits Snapdeck"},
}};

} // namespace korvan
