#include "app/win32/Application.h"

#include "app/win32/MainWindow.h"
#include "frame/win32/GrabberFrame.h"
#include "image/win32/PreviewWindow.h"
#include "settings/win32/OptionsWindow.h"
#include "windows/win32/InfoWindow.h"
#include "windows/win32/HelpWindow.h"

#include <commctrl.h>

namespace korvan::win {

Application::Application()
    : registry_(ProgramRegistry()),
      conflicts_([this](const std::string& text) { if (windows_.main) windows_.main->QueueMessage(text); },
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

void Application::CreateWindows() {
    main_ = std::make_unique<MainWindow>(windows_, hotKeys_, conflicts_);
    windows_.main = main_.get();
    window_.SetMainWindow(main_->Hwnd());
    preview_ = std::make_unique<PreviewWindow>(main_->Hwnd(), grabber_, clipboard_);
    windows_.preview = preview_.get();
    frame_ = std::make_unique<GrabberFrame>(main_->Hwnd(), hotKeys_, &conflicts_);
    windows_.frame = frame_.get();
    options_ = std::make_unique<OptionsWindow>(windows_, registry_);
    windows_.options = options_.get();
    info_ = std::make_unique<InfoWindow>();
    windows_.info = info_.get();
    help_ = std::make_unique<HelpWindow>(main_->Hwnd());
    windows_.help = help_.get();
    main_->ConnectWindows();
}

int Application::Run() {
    try {
        CreateWindows();
    } catch (...) {
        ShowCurrentException(nullptr);
        return 1;
    }
    window_.Show();
    main_->ShowAtStart();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Enter and Escape work in the options dialog as in any dialog.
        if (options_ && ::IsDialogMessageW(options_->Hwnd(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace korvan::win
