// Full-screen capture under Wine: the time from the start of Capture to the image held,
// and to the image on the clipboard, each as a ratio to a plain BitBlt of the same
// screen into a DIB section measured in the same run. Run with scripts/bench-capture.sh.
#include "imaging/win32/ClipboardWin32.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "image/ImageDocument.h"
#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Clock;
using bench::Median;
using bench::PlainBitBlt;

// A full-screen window showing a desktop-like picture (a noisy photograph on the left,
// text lines on a white page on the right), so the grab and the clipboard's forms work on
// real content rather than an empty screen.
std::vector<uint32_t> g_picture;
int g_width = 0, g_height = 0;

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd, &paint);
        BITMAPINFO info = korvan::win::TopDownDib(g_width, g_height, 32);
        ::SetDIBitsToDevice(dc, 0, 0, DWORD(g_width), DWORD(g_height), 0, 0, 0, UINT(g_height), g_picture.data(), &info, DIB_RGB_COLORS);
        ::SetBkMode(dc, TRANSPARENT);
        for (int y = 20; y < g_height - 20; y += 18) {
            const wchar_t* line = L"The quick brown fox jumps over the lazy dog; 0123456789 (capture benchmark)";
            ::TextOutW(dc, g_width / 2 + 20, y, line, int(std::wcslen(line)));
        }
        ::EndPaint(hwnd, &paint);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND ShowPicture(int width, int height) {
    g_width = width;
    g_height = height;
    g_picture.resize(size_t(width) * size_t(height));
    uint32_t seed = 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint32_t noise = (seed >> 24) & 31;
            uint32_t r = uint32_t(x * 255 / width) + noise, g = uint32_t(y * 200 / height) + noise, b = 120 + noise;
            g_picture[size_t(y) * size_t(width) + size_t(x)] = x < width / 2 ? (std::min(r, 255u) << 16 | std::min(g, 255u) << 8 | b) : 0xFFFFFF;
        }
    WNDCLASSW wc{};
    wc.lpfnWndProc = PictureProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvanBenchPicture";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ::UpdateWindow(hwnd);
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(10);
    }
    return hwnd;
}

} // namespace

int main() {
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    HWND picture = ShowPicture(width, height);
    korvan::imaging::ScreenGrabberWin32 grabber;
    korvan::imaging::ClipboardWin32 clipboard;
    korvan::ImageDocument image(grabber, clipboard);
    const int rounds = 21;

    PlainBitBlt(0, 0, width, height);  // warm up the display driver
    image.Capture(0, 0, 0, width, height);
    image.Copy(3);
    // The three take turns in every round, so a load from elsewhere falls on all alike.
    std::vector<double> reference, held, onClipboard;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        PlainBitBlt(0, 0, width, height);
        reference.push_back(bench::MsSince(start));
        start = Clock::now();
        image.Capture(0, 0, 0, width, height);
        held.push_back(bench::MsSince(start));
        start = Clock::now();
        image.Capture(0, 0, 0, width, height);
        image.Copy(3);
        onClipboard.push_back(bench::MsSince(start));
    }
    double ref = Median(reference), grab = Median(held), copy = Median(onClipboard);
    std::printf("screen %d x %d, median of %d rounds, each round all three in turn\n", width, height, rounds);
    std::printf("plain BitBlt into a DIB section   %8.2f ms\n", ref);
    std::printf("Capture to image held             %8.2f ms  ratio %.2f (target <= 1.2)\n", grab, grab / ref);
    std::printf("Capture and Copy to the clipboard %8.2f ms  ratio %.2f (target <= 1.8)\n", copy, copy / ref);
    ::DestroyWindow(picture);
    return 0;
}
