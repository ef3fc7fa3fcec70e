#include "platform/win32/WindowBase.h"

#include "platform/MonitorDpi.h"
#include "platform/win32/Text.h"
#include "resource.h"

#include <exception>

namespace korvan::win {

void ShowErrorBox(HWND owner, const std::wstring& message) {
    ::MessageBoxW(owner, message.c_str(), L"Korvan Screenshot", MB_OK | MB_ICONERROR);
}

void ShowCurrentException(HWND owner) {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorBox(owner, Widen(error.what()));
    } catch (...) {
        ShowErrorBox(owner, L"Unexpected error");
    }
}

namespace {

HWND g_application = nullptr;

} // namespace

HWND ApplicationHandle() { return g_application; }
void SetApplicationHandle(HWND window) { g_application = window; }

HICON ProgramIcon() {
    static HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
    return icon;
}

int Scale(int designed, UINT dpi) { return ScaleForDpi(designed, static_cast<int>(dpi)); }

UINT DpiOf(HWND window) {
    UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    return dpi ? dpi : 96;
}

} // namespace korvan::win
