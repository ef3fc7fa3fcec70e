#include "app/win32/Application.h"

#include "app/win32/MainForm.h"
#include "frame/win32/GrabberFrame.h"
#include "image/win32/PreviewForm.h"
#include "settings/win32/OptionsForm.h"
#include "windows/win32/AboutForm.h"
#include "windows/win32/HelpForm.h"

#include <commctrl.h>

namespace korvan::win {

Application::Application()
    : registry_(ProgramRegistry()),
      conflicts_([this](const std::string& text) { if (forms_.Mainfrm) forms_.Mainfrm->QueueMessage(text); },
                 [this] { window_.Post([this] { conflicts_.Report(); }); }) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
}

// Windows go in the reverse order of their creation.
Application::~Application() {
    helpfrm_.reset();
    aboutfrm_.reset();
    optionfrm_.reset();
    form2_.reset();
    image_.reset();
    mainfrm_.reset();
}

void Application::CreateForms() {
    mainfrm_ = std::make_unique<TMainfrm>(forms_, hotKeys_, conflicts_);
    forms_.Mainfrm = mainfrm_.get();
    window_.SetMainWindow(mainfrm_->Hwnd());
    image_ = std::make_unique<TImage>(mainfrm_->Hwnd(), grabber_, clipboard_);
    forms_.Image = image_.get();
    form2_ = std::make_unique<TForm2>(mainfrm_->Hwnd(), hotKeys_, &conflicts_);
    forms_.Form2 = form2_.get();
    optionfrm_ = std::make_unique<Toptionfrm>(forms_, registry_);
    forms_.Optionfrm = optionfrm_.get();
    aboutfrm_ = std::make_unique<TAboutfrm>();
    forms_.Aboutfrm = aboutfrm_.get();
    helpfrm_ = std::make_unique<Thelpfrm>(mainfrm_->Hwnd());
    forms_.Helpfrm = helpfrm_.get();
    mainfrm_->FormsCreated();
}

int Application::Run() {
    try {
        CreateForms();
    } catch (...) {
        ShowCurrentException(nullptr);
        return 1;
    }
    window_.Show();
    mainfrm_->ShowAtStart();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, Enter and Escape work in the options dialog as in any dialog.
        if (optionfrm_ && ::IsDialogMessageW(optionfrm_->Hwnd(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace korvan::win
