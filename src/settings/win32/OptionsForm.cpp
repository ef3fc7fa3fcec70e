#include "settings/win32/OptionsForm.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"Toptionfrm";

} // namespace

Toptionfrm::Toptionfrm() {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), nullptr);
    RECT frame{0, 0, 418, 376};
    ::AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    CreateWindowOf(kClassName, WS_EX_DLGMODALFRAME, WS_CAPTION | WS_SYSMENU, L"Options",
                   (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                   width, height);
}

LRESULT Toptionfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

} // namespace korvan::win
