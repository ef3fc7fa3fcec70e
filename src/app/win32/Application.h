#pragma once
// The application object: owns the imaging services and the six windows.
#include "app/win32/ApplicationWindow.h"
#include "app/win32/ProgramWindows.h"
#include "imaging/win32/ClipboardWin32.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "platform/GlobalHotKey.h"
#include "platform/win32/HotKeySystemWin32.h"
#include "platform/win32/RegistryWin32.h"

#include <memory>

namespace korvan::win {

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the windows, shows the main window and runs the message loop. An error
    // while the windows are created is shown in the error box before it ends the run.
    int Run();

    static constexpr const wchar_t* kTitle = L"Korvan Screenshot";

private:
    void CreateWindows();

    imaging::ScreenGrabberWin32 grabber_;
    imaging::ClipboardWin32 clipboard_;
    HotKeySystemWin32 hotKeys_;
    IRegistry& registry_;
    // Owns every window below, so it goes last.
    ApplicationWindow window_{kTitle};
    HotKeyConflicts conflicts_;
    ProgramWindows windows_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<PreviewWindow> preview_;
    std::unique_ptr<GrabberFrame> frame_;
    std::unique_ptr<OptionsWindow> options_;
    std::unique_ptr<InfoWindow> info_;
    std::unique_ptr<HelpWindow> help_;
};

} // namespace korvan::win
