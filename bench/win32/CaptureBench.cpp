// Full-screen capture under Wine, against plain ways measured in the same run: Capture to
// the image held against a plain BitBlt into a DIB section, and Capture plus Copy to the
// image pastable against what the simplest tool does (BitBlt into a DIB, then that DIB
// handed to the clipboard). Also the time a program waits for the PNG form it asks for.
// Run with scripts/bench-capture.sh.
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
#include <cstring>
#include <functional>
#include <thread>
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

// The simplest tool's way to the clipboard: BitBlt into a DIB section, the DIB copied
// into a global block, the block handed to the clipboard.
void PlainGrabToClipboard(HWND owner, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO info = korvan::win::TopDownDib(width, height, 32);
    info.bmiHeader.biHeight = height;  // bottom-up, as programs paste it
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    const size_t size = size_t(width) * size_t(height) * 4;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + size);
    auto* p = static_cast<uint8_t*>(::GlobalLock(block));
    std::memcpy(p, &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    std::memcpy(p + sizeof(BITMAPINFOHEADER), bits, size);
    ::GlobalUnlock(block);
    if (::OpenClipboard(owner)) {
        ::EmptyClipboard();
        if (!::SetClipboardData(CF_DIB, block)) ::GlobalFree(block);
        ::CloseClipboard();
    } else {
        ::GlobalFree(block);
    }
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(section);
    ::ReleaseDC(nullptr, screen);
}

// Opens the clipboard and takes the PNG form, as a program pasting it would (waiting while
// another program, such as a clipboard manager, holds the clipboard).
void ReadPng() {
    for (int i = 0; !::OpenClipboard(nullptr); ++i) {
        if (i == 2000) return;
        ::Sleep(1);
    }
    ::GetClipboardData(::RegisterClipboardFormatW(L"PNG"));
    ::CloseClipboard();
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
    // The simplest tool's clipboard owner window, on a thread that answers its messages.
    HWND plainOwner = nullptr;
    HANDLE made = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread ownerThread([&] {
        plainOwner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::SetEvent(made);
        MSG m;
        while (::GetMessageW(&m, nullptr, 0, 0) > 0) ::DispatchMessageW(&m);
    });
    ::WaitForSingleObject(made, INFINITE);
    korvan::imaging::ScreenGrabberWin32 grabber;
    korvan::imaging::ClipboardWin32 clipboard;
    korvan::ImageDocument image(grabber, clipboard);
    const int rounds = 41;

    PlainBitBlt(0, 0, width, height);  // warm up the display driver
    PlainGrabToClipboard(plainOwner, width, height);
    image.Capture(0, 0, 0, width, height);
    image.Copy(3);
    ReadPng();
    // All take turns in every round, so a load from elsewhere falls on all alike.
    std::vector<double> reference, held, plainCopy, copy, png;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        PlainBitBlt(0, 0, width, height);
        reference.push_back(bench::MsSince(start));
        start = Clock::now();
        image.Capture(0, 0, 0, width, height);
        held.push_back(bench::MsSince(start));
        start = Clock::now();
        PlainGrabToClipboard(plainOwner, width, height);
        plainCopy.push_back(bench::MsSince(start));
        start = Clock::now();
        image.Capture(0, 0, 0, width, height);
        image.Copy(3);
        copy.push_back(bench::MsSince(start));
        // The PNG form is made when a program asks for it; asking here, outside the
        // timed steps, also keeps that work from falling into the next round.
        start = Clock::now();
        ReadPng();
        png.push_back(bench::MsSince(start));
    }
    double ref = Median(reference), grab = Median(held), plain = Median(plainCopy), ours = Median(copy);
    std::printf("screen %d x %d, median of %d rounds, each round all in turn\n", width, height, rounds);
    std::printf("plain BitBlt into a DIB section        %8.2f ms\n", ref);
    std::printf("Capture to image held                  %8.2f ms  ratio %.2f (target <= 1.2)\n", grab, grab / ref);
    std::printf("plain BitBlt, its DIB to the clipboard %8.2f ms\n", plain);
    std::printf("Capture and Copy to the clipboard      %8.2f ms  ratio %.2f (target <= 1.2)\n", ours, ours / plain);
    std::printf("PNG form made when a program asks      %8.2f ms\n", Median(png));
    ::PostMessageW(plainOwner, WM_QUIT, 0, 0);
    ownerThread.join();
    ::CloseHandle(made);
    ::DestroyWindow(picture);
    return 0;
}
