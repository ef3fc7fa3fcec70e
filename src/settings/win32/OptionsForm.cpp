#include "settings/win32/OptionsForm.h"

#include "app/win32/MainForm.h"
#include "frame/win32/GrabberFrame.h"
#include "image/win32/PreviewForm.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Text.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"Toptionfrm";

} // namespace

Toptionfrm::Toptionfrm(Forms& forms, IRegistry& registry)
    : forms_(forms),
      frameKeys_(registry, forms.Form2->Keys(), [](const std::string& error) { ShowErrorBox(nullptr, Widen(error)); }) {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    RECT place = CenteredWindowFor(418, 376, WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    CreateWindowOf(kClassName, WS_EX_DLGMODALFRAME, WS_CAPTION | WS_SYSMENU, L"Options", place.left, place.top, place.right - place.left,
                   place.bottom - place.top);
    FormCreate();
}

void Toptionfrm::FormCreate() {
    // Every other option starts from its default at each start; only the frame keys persist.
    frameKeys_.Load([this] { Button1Click(); });
}

LRESULT Toptionfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

void Toptionfrm::Button1Click() {
    bool mayClose = true;
    // No paste target can be chosen while the application list is disabled.
    settings_.targetWindow = 0;
    frameKeys_.SaveAndApply();
    if (!keepOpen_ && mayClose) Close();
    keepOpen_ = false;
}

void Toptionfrm::FormShow() {
    forms_.Mainfrm->MoveOffScreen();
    if (forms_.Image->Visible()) forms_.Image->Close();
    keepOpen_ = false;
}

// Runs also when the dialog was never shown (the first run's OK step).
void Toptionfrm::FormClose() {
    forms_.Mainfrm->RestoreAfterCapture();
    if (forms_.Image->ShotImage().HoldsImage()) forms_.Image->Show();
}

} // namespace korvan::win
