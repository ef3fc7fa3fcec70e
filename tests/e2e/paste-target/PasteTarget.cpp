// A stand-in for a paint program: a visible window that takes Ctrl+V, reads the
// clipboard's bitmap and shows its size in its title ("pasted 1280 x 1024").
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <string>

namespace {

void Paste(HWND window) {
    if (!::OpenClipboard(window)) return;
    if (HANDLE data = ::GetClipboardData(CF_DIB)) {
        if (auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data))) {
            std::wstring title = L"pasted " + std::to_wstring(header->biWidth) + L" x " +
                                 std::to_wstring(header->biHeight < 0 ? -header->biHeight : header->biHeight);
            ::GlobalUnlock(data);
            ::SetWindowTextW(window, title.c_str());
        }
    }
    ::CloseClipboard();
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == 'V' && ::GetKeyState(VK_CONTROL) < 0) Paste(window);
        return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"KorvanPasteTarget";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"waiting for Ctrl+V", WS_OVERLAPPEDWINDOW, 200, 200, 400,
                                    300, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
