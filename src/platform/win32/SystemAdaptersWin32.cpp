#include "platform/win32/SystemAdapters.h"

namespace korvan::win {
namespace {

bool g_waitCursor = false;

} // namespace

void WindowSystemWin32::ShowWindow(WindowHandle window, int command) {
    ::ShowWindow(reinterpret_cast<HWND>(window), command);
}

void WindowSystemWin32::BringWindowToTop(WindowHandle window) {
    ::BringWindowToTop(reinterpret_cast<HWND>(window));
}

void WindowSystemWin32::RestoreApplication() {
    // The program's own windows are never minimised by a capture; this only brings the
    // application back if the user minimised it meanwhile.
    if (application_ && ::IsIconic(application_)) ::ShowWindow(application_, SW_RESTORE);
}

ScreenSize WindowSystemWin32::PrimaryScreenSize() const {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

int KeyboardWin32::ScanCodeOf(int virtualKey) {
    return static_cast<int>(::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
}

void KeyboardWin32::KeyEvent(int virtualKey, int scanCode, int flags) {
    ::keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(scanCode), static_cast<DWORD>(flags), 0);
}

void CursorsWin32::SetWaitCursor() {
    g_waitCursor = true;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CursorsWin32::SetDefaultCursor() {
    g_waitCursor = false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

bool CursorsWin32::WaitCursorActive() { return g_waitCursor; }

void CursorsWin32::RestoreSystemCursors(uintptr_t savedArrow, uintptr_t savedIBeam) {
    // The system takes over the handle it is given, so it gets copies.
    ::SetSystemCursor(static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(savedArrow))), 32512);
    ::SetSystemCursor(static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(savedIBeam))), 32513);
    ::DestroyIcon(reinterpret_cast<HICON>(savedArrow));
    ::DestroyIcon(reinterpret_cast<HICON>(savedIBeam));
}

bool FileSystemWin32::FileExists(const std::wstring& path) const {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace korvan::win
