#include "windows/win32/AboutForm.h"

#include "platform/win32/Dib.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TAboutfrm";

} // namespace

TAboutfrm::TAboutfrm() {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    RECT place = CenteredWindowFor(274, 213, WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW);
    CreateWindowOf(kClassName, WS_EX_TOOLWINDOW, WS_CAPTION | WS_SYSMENU, L"Info", place.left, place.top,
                   place.right - place.left, place.bottom - place.top);
}

LRESULT TAboutfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

} // namespace korvan::win
