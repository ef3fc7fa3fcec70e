#pragma once
// The program-wide references: one instance of each window, created at start-up in
// this order and alive until the program ends.
namespace korvan::win {

class MainWindow;
class PreviewWindow;
class GrabberFrame;
class OptionsWindow;
class InfoWindow;
class HelpWindow;

struct ProgramWindows {
    MainWindow* main = nullptr;
    PreviewWindow* preview = nullptr;
    GrabberFrame* frame = nullptr;
    OptionsWindow* options = nullptr;
    InfoWindow* info = nullptr;
    HelpWindow* help = nullptr;
};

} // namespace korvan::win
