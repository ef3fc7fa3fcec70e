#include "windows/win32/HelpForm.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"Thelpfrm";

} // namespace

Thelpfrm::Thelpfrm() {
    RegisterClassOnce(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), ProgramIcon());
    CreateWindowOf(kClassName, 0, WS_OVERLAPPEDWINDOW, L"Small Help", 397, 290, 317, 349);
}

LRESULT Thelpfrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

} // namespace korvan::win
