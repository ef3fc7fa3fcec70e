#pragma once
// The application object: owns the imaging services and the six windows, and is the
// one place that knows them all. The windows reach each other only through the ports
// it hands them (MainWindowLinks, IOptionsHost).
#include "app/win32/ApplicationWindow.h"
#include "imaging/win32/ClipboardWin32.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "platform/GlobalHotKey.h"
#include "platform/win32/HotKeySystemWin32.h"
#include "platform/win32/RegistryWin32.h"
#include "settings/OptionsDialog.h"

#include <functional>
#include <memory>

namespace korvan::win {

class MainWindow;
class PreviewWindow;
class GrabberFrame;
class OptionsWindow;
class InfoWindow;
class HelpWindow;

class Application final : private IOptionsHost {
public:
    Application();
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the windows, shows the main window and runs the message loop. An error
    // while the windows are created is shown in the error box before it ends the run.
    // windowsReady learns the application window once every window exists.
    int Run(const std::function<void(HWND)>& windowsReady = {});

    static constexpr const wchar_t* kTitle = L"Korvan Screenshot";

private:
    void CreateWindows();
    void ConnectWindows();
    // Once at start, when the message loop runs: offers to take Print Screen back from
    // the system's Snipping Tool.
    void CheckPrintScreen();
    // The session ends: nothing may stay changed or be lost when the process is ended
    // right after. Asked: the pick called off and the clipboard's picture made whole;
    // ending: the placements stored and the program closed as on a normal close.
    void SessionEndAsked();
    void SessionEnding();

    // IOptionsHost: the options dialog's reach into the main window and the preview.
    void MoveMainWindowOffScreen() override;
    void RestoreMainWindow() override;
    void ClosePreview() override;
    void ShowPreviewWithImage() override;
    void UseLargeToolbar() override;
    void UseSmallToolbar() override;
    void RunSaveDialog(bool resetFileType) override;

    imaging::ScreenGrabberWin32 grabber_;
    imaging::ClipboardWin32 clipboard_;
    HotKeySystemWin32 hotKeys_;
    IRegistry& registry_;
    // Owns every window below, so it goes last.
    ApplicationWindow window_{kTitle};
    HotKeyConflicts conflicts_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<PreviewWindow> preview_;
    std::unique_ptr<GrabberFrame> frame_;
    std::unique_ptr<OptionsWindow> options_;
    std::unique_ptr<InfoWindow> info_;
    std::unique_ptr<HelpWindow> help_;
};

} // namespace korvan::win
