#include "platform/win32/SystemAdapters.h"

#include "platform/win32/LongPath.h"

#include "platform/win32/Handles.h"

#include <algorithm>
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


HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

// The window's own thread shows it; the program in front (this one, whose button was
// pressed) lets it take the foreground then.
void LetTakeForeground(HWND window) {
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId)) ::AllowSetForegroundWindow(processId);
}

} // namespace

std::wstring ProcessImagePath(DWORD processId) {
    KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
    path.resize(size);
    return path;
}

void WindowSystemWin32::ShowWindow(WindowHandle window, int command) {
    if (command != SW_HIDE && command != SW_MINIMIZE) LetTakeForeground(AsHwnd(window));
    ::ShowWindowAsync(AsHwnd(window), command);
}

void WindowSystemWin32::BringWindowToTop(WindowHandle window) {
    HWND hwnd = AsHwnd(window);
    LetTakeForeground(hwnd);
    ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    ::SetForegroundWindow(hwnd);
}

bool WindowSystemWin32::Responds(WindowHandle window, int timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(AsHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                 static_cast<UINT>(std::max(0, timeoutMs)), &result) != 0;
}

bool WindowSystemWin32::IsHung(WindowHandle window) const { return ::IsHungAppWindow(AsHwnd(window)) != FALSE; }

bool WindowSystemWin32::IsEnabled(WindowHandle window) const { return ::IsWindowEnabled(AsHwnd(window)) != FALSE; }

WindowHandle WindowSystemWin32::ForegroundRootOwner() const {
    HWND foreground = ::GetForegroundWindow();
    return foreground ? reinterpret_cast<WindowHandle>(::GetAncestor(foreground, GA_ROOTOWNER)) : 0;
}

ProcessIdentity WindowSystemWin32::ProcessOf(WindowHandle window) const {
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(AsHwnd(window), &processId)) return {};
    return {processId, ProcessImagePath(processId)};
}

void WindowSystemWin32::RestoreApplication() {
    // The program's own windows are never minimised by a capture; this only brings the
    // application back if the user minimised it meanwhile.
    if (application_ && ::IsIconic(application_)) ::ShowWindow(application_, SW_RESTORE);
}

ScreenSize WindowSystemWin32::PrimaryScreenSize() const {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

ScreenRect WindowSystemWin32::VirtualScreen() const {
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool WindowSystemWin32::IsWindow(WindowHandle window) const {
    return window != 0 && ::IsWindow(reinterpret_cast<HWND>(window));
}

int KeyboardWin32::ScanCodeOf(int virtualKey) {
    return static_cast<int>(::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
}

std::vector<int> KeyboardWin32::HeldModifiers() const {
    std::vector<int> held;
    for (int key : {kVkLeftShift, kVkRightShift, kVkLeftControl, kVkRightControl, kVkLeftAlt, kVkRightAlt, kVkLeftWin,
                    kVkRightWin})
        if (::GetAsyncKeyState(key) & 0x8000) held.push_back(key);
    return held;
}

void KeyboardWin32::Type(const std::vector<KeyStroke>& strokes) {
    std::vector<INPUT> inputs(strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = static_cast<WORD>(strokes[i].virtualKey);
        inputs[i].ki.wScan = static_cast<WORD>(strokes[i].scanCode);
        inputs[i].ki.dwFlags = static_cast<DWORD>(strokes[i].flags);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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
    // The system's own reload brings every cursor back as the user's scheme has it,
    // animated and enlarged ones included, which a copy of a single frame would not.
    bool restored = ::SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0) != FALSE;
    bool copiesSet = !restored;
    for (auto [saved, id] : {std::pair{savedArrow, kOcrNormal}, std::pair{savedIBeam, kOcrIBeam}}) {
        if (!restored) {
            // The system takes over the handle it is given, so it gets copies.
            HCURSOR copy = saved ? static_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(saved))) : nullptr;
            bool set = copy && ::SetSystemCursor(copy, static_cast<DWORD>(id));
            if (copy && !set) ::DestroyCursor(copy);
            copiesSet = copiesSet && set;
        }
        if (saved) ::DestroyIcon(reinterpret_cast<HICON>(saved));
    }
    // Neither worked: the marker stays, so the next start tries the reload again.
    if (restored || copiesSet) MarkPickCursorShown(false);
}

bool FileSystemWin32::FileExists(const std::wstring& path) const {
    return ::GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace korvan::win
