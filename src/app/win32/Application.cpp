#include "app/win32/Application.h"

#include "app/win32/MainWindow.h"
#include "app/win32/PrintScreenCheckWin32.h"
#include "frame/win32/GrabberFrame.h"
#include "image/win32/PreviewWindow.h"
#include "settings/win32/OptionsWindow.h"
#include "windows/win32/InfoWindow.h"
#include "windows/win32/HelpWindow.h"

#include <commctrl.h>

namespace korvan::win {

Application::Application()
    : registry_(ProgramRegistry()),
      conflicts_([this](const std::string& text) { if (main_) main_->QueueMessage(text); },
                 [this] { window_.Post([this] { conflicts_.Report(); }); }) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
}

// Windows go in the reverse order of their creation.
Application::~Application() {
    help_.reset();
    info_.reset();
    options_.reset();
    frame_.reset();
    preview_.reset();
    main_.reset();
}

// In this order: the options dialog's creation loads the frame keys' settings, so the
// frame comes before it.
void Application::CreateWindows() {
    main_ = std::make_unique<MainWindow>(hotKeys_, conflicts_);
    window_.SetMainWindow(main_->Hwnd());
    preview_ = std::make_unique<PreviewWindow>(main_->Hwnd(), grabber_, clipboard_);
    frame_ = std::make_unique<GrabberFrame>(main_->Hwnd(), hotKeys_, &conflicts_);
    IOptionsHost& optionsHost = *this;
    options_ = std::make_unique<OptionsWindow>(main_->Hwnd(), optionsHost, frame_->Keys(), registry_);
    info_ = std::make_unique<InfoWindow>(main_->Hwnd());
    help_ = std::make_unique<HelpWindow>(main_->Hwnd());
    ConnectWindows();
}

void Application::ConnectWindows() {
    main_->Connect({*preview_, preview_->Document(), *frame_, *frame_, options_->KeyOptions(),
                    options_->Settings(), *options_, *help_, *info_});
    preview_->SetZoomSource([this] { return main_->ZoomFactor(); });
    preview_->SetMainWindowHome([this] { return main_->HomeRect(); });
    window_.OnSessionEnd([this] { SessionEndAsked(); }, [this] { SessionEnding(); });
}

void Application::SessionEndAsked() {
    main_->CancelWindowPick();
    clipboard_.KeepOnClipboard();
}

// The other windows store their placements as their destruction would (a shown one
// with "Visible" 1); closing the main window stores its own and ends the message loop.
void Application::SessionEnding() {
    SessionEndAsked();
    preview_->StorePlacementAtEnd();
    frame_->StorePlacementAtEnd();
    main_->Exit();
}

int Application::Run(const std::function<void(HWND)>& windowsReady) {
    try {
        CreateWindows();
    } catch (...) {
        ShowCurrentException(nullptr);
        return 1;
    }
    window_.Show();
    main_->ShowAtStart();
    if (windowsReady) windowsReady(window_.Hwnd());
    window_.Post([this] { CheckPrintScreen(); });
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Enter and Escape work in the options dialog as in any dialog.
        if (options_ && ::IsDialogMessageW(options_->Hwnd(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Application::CheckPrintScreen() {
    WindowsVersionWin32 version;
    PrintScreenQuestionWin32 question(main_->Hwnd());
    CheckPrintScreenAtStart({version, registry_, question, [this] {
                                 // Lets the shell and other programs read the changed setting.
                                 DWORD_PTR result = 0;
                                 ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                                                       reinterpret_cast<LPARAM>(kKeyboardSettingsKey),
                                                       SMTO_ABORTIFHUNG, 1000, &result);
                                 main_->RegisterPrintScreenAgain();
                             }});
}

void Application::MoveMainWindowOffScreen() { main_->MoveOffScreen(); }
void Application::RestoreMainWindow() { main_->RestoreAfterCapture(); }

void Application::ClosePreview() {
    if (preview_->Visible()) preview_->Close();
}

void Application::ShowPreviewWithImage() {
    if (preview_->Document().HoldsImage()) preview_->Show();
}

void Application::UseLargeToolbar() { main_->SetSmallToolbar(false); }
void Application::UseSmallToolbar() { main_->SetSmallToolbar(true); }
void Application::RunSaveDialog(bool resetFileType) { main_->Saving().ChooseAutomaticSaving(resetFileType); }

} // namespace korvan::win
