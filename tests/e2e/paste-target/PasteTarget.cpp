// A stand-in for a paint program: a visible window that takes Ctrl+V, reads the
// clipboard's bitmap and shows its size in its title ("pasted 1280 x 1024").
// It keeps the Unix process id it runs as in the window property "KorvanUnixPid", so a
// test can stop and continue it from outside. Options on the command line:
//   --count  the title also counts the pastes ("pasted 1280 x 1024 #3");
//   --thief  a second window, on a thread of its own, takes the foreground whenever this
//            one is activated on its way back from the minimised state, and tells in its
//            title when it receives Ctrl+V ("thief got Ctrl+V").
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr UINT kSteal = WM_APP + 1;
bool g_count = false;
int g_pastes = 0;
bool g_minimised = false;
HWND g_thief = nullptr;

bool CtrlV(WPARAM key) { return key == 'V' && ::GetKeyState(VK_CONTROL) < 0; }

// Tries again for a while when another program has the clipboard open, as a paint
// program's paste does.
bool OpenClipboardSoon(HWND window) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::OpenClipboard(window)) return true;
        ::Sleep(10);
    }
    return false;
}

void Paste(HWND window) {
    if (!OpenClipboardSoon(window)) return;
    if (HANDLE data = ::GetClipboardData(CF_DIB)) {
        if (auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data))) {
            std::wstring title = L"pasted " + std::to_wstring(header->biWidth) + L" x " +
                                 std::to_wstring(header->biHeight < 0 ? -header->biHeight : header->biHeight);
            if (g_count) title += L" #" + std::to_wstring(++g_pastes);
            ::GlobalUnlock(data);
            ::SetWindowTextW(window, title.c_str());
        }
    }
    ::CloseClipboard();
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (CtrlV(wParam)) Paste(window);
        return 0;
    case WM_ACTIVATE:
        // Activated on its way back from the minimised state: the thief takes over before
        // this window answers anything sent to it (a plain send would answer meanwhile).
        if (LOWORD(wParam) != WA_INACTIVE && g_minimised && g_thief)
            ::SendMessageTimeoutW(g_thief, kSteal, 0, 0, SMTO_BLOCK, 5000, nullptr);
        return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
        g_minimised = wParam == SIZE_MINIMIZED;
        return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ThiefProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kSteal:
        // Shown only now: a hidden window is no paste target the options could find.
        ::ShowWindow(window, SW_SHOW);
        ::SetForegroundWindow(window);
        ::SetFocus(window);
        return 0;
    case WM_KEYDOWN:
        if (CtrlV(wParam)) ::SetWindowTextW(window, L"thief got Ctrl+V");
        return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void RunThief(HINSTANCE instance, HANDLE ready) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ThiefProcedure;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KorvanFocusThief";
    ::RegisterClassW(&wc);
    g_thief = ::CreateWindowExW(0, wc.lpszClassName, L"focus thief", WS_OVERLAPPEDWINDOW, 650, 200, 300, 200, nullptr,
                                nullptr, instance, nullptr);
    ::SetEvent(ready);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Under Wine the Unix process is the one that reads its own /proc entry.
DWORD UnixProcessId() {
    HANDLE file = ::CreateFileW(L"Z:\\proc\\self\\stat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char text[32] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    ::CloseHandle(file);
    return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    std::wstring options = commandLine ? commandLine : L"";
    g_count = options.find(L"--count") != std::wstring::npos;
    if (options.find(L"--thief") != std::wstring::npos) {
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread(RunThief, instance, ready).detach();
        ::WaitForSingleObject(ready, INFINITE);
        ::CloseHandle(ready);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"KorvanPasteTarget";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"waiting for Ctrl+V", WS_OVERLAPPEDWINDOW, 200, 200, 400,
                                    300, nullptr, nullptr, instance, nullptr);
    ::SetPropW(window, L"KorvanUnixPid", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(UnixProcessId())));
    ::ShowWindow(window, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
