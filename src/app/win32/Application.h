#pragma once
// The application object: owns the imaging services and the six windows.
#include "app/win32/ApplicationWindow.h"
#include "app/win32/Forms.h"
#include "engine/win32/ClipboardWin32.h"
#include "engine/win32/ScreenGrabberWin32.h"
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
    void CreateForms();

    sdk::ScreenGrabberWin32 grabber_;
    sdk::ClipboardWin32 clipboard_;
    HotKeySystemWin32 hotKeys_;
    IRegistry& registry_;
    // Owns every window below, so it goes last.
    ApplicationWindow window_{kTitle};
    HotKeyConflicts conflicts_;
    Forms forms_;
    std::unique_ptr<TMainfrm> mainfrm_;
    std::unique_ptr<TImage> image_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<Toptionfrm> optionfrm_;
    std::unique_ptr<TAboutfrm> aboutfrm_;
    std::unique_ptr<Thelpfrm> helpfrm_;
};

} // namespace korvan::win
