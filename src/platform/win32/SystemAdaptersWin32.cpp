#include "platform/win32/SystemAdapters.h"

#include "platform/win32/LongPath.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace korvan::win {
namespace {

bool g_waitCursor = false;
// The system's arrow and I-beam show the pick cursor.
bool g_pickCursorShown = false;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

constexpr int kPickCursorResource = 105;
// Volatile: the system resets its cursors at log-off, and the marker goes with them.
constexpr wchar_t kPickCursorMarker[] = L"Software\\KorvanScreenshot\\PickCursorShown";

void MarkPickCursorShown(bool shown) {
    g_pickCursorShown = shown;
    if (shown) {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kPickCursorMarker, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                              nullptr, &key, nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(key);
    } else {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kPickCursorMarker);
    }
}

// Reloads the user's cursor scheme: puts every system cursor back without saved copies.
void ReloadSystemCursors() {
    ::SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0);
    MarkPickCursorShown(false);
}

LONG WINAPI RestoreCursorsOnCrash(EXCEPTION_POINTERS* exception) {
    if (g_pickCursorShown) ReloadSystemCursors();
    return g_previousFilter ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

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

bool WindowSystemWin32::IsWindow(WindowHandle window) const {
    return window != 0 && ::IsWindow(reinterpret_cast<HWND>(window));
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

uintptr_t CursorsWin32::CopySystemCursor(int stockCursor) {
    HCURSOR stock = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(stockCursor));
    return reinterpret_cast<uintptr_t>(::CopyIcon(stock));
}

void CursorsWin32::SetPickCursor(int systemCursor) {
    // Marked first: a crash between the two calls still finds the marker.
    MarkPickCursorShown(true);
    // Loaded as an icon, so its hot spot is the image's centre; the system takes over the
    // handle it is given, so it gets a private copy rather than the shared resource.
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPickCursorResource));
    ::SetSystemCursor(static_cast<HCURSOR>(::CopyIcon(icon)), static_cast<DWORD>(systemCursor));
}

void CursorsWin32::RepairAfterEarlierRun() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPickCursorMarker, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    ::RegCloseKey(key);
    ReloadSystemCursors();
}

void CursorsWin32::GuardAgainstCrash() {
    LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(RestoreCursorsOnCrash);
    if (previous != RestoreCursorsOnCrash) g_previousFilter = previous;
    static const std::terminate_handler previousTerminate = std::set_terminate([] {
        if (g_pickCursorShown) ReloadSystemCursors();
        if (previousTerminate) previousTerminate();
        std::abort();
    });
}

void CursorsWin32::RestoreSystemCursors(uintptr_t savedArrow, uintptr_t savedIBeam) {
    // The system takes over the handle it is given, so it gets copies.
    bool restored = true;
    for (auto [saved, id] : {std::pair{savedArrow, kOcrNormal}, std::pair{savedIBeam, kOcrIBeam}}) {
        HCURSOR copy = saved ? static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(saved))) : nullptr;
        bool set = copy && ::SetSystemCursor(copy, static_cast<DWORD>(id));
        if (copy && !set) ::DestroyCursor(copy);
        restored = restored && set;
        if (saved) ::DestroyIcon(reinterpret_cast<HICON>(saved));
    }
    // A copy that could not be made or set: the user's scheme brings them back instead.
    if (restored) MarkPickCursorShown(false);
    else ReloadSystemCursors();
}

bool FileSystemWin32::FileExists(const std::wstring& path) const {
    return ::GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace korvan::win
