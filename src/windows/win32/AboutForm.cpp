#include "windows/win32/AboutForm.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TAboutfrm";

} // namespace

TAboutfrm::TAboutfrm() {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    RECT frame{0, 0, 274, 213};
    ::AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    CreateWindowOf(kClassName, WS_EX_TOOLWINDOW, WS_CAPTION | WS_SYSMENU, L"Info",
                   (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                   width, height);
}

LRESULT TAboutfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

} // namespace korvan::win
