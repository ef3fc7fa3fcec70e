// Full-screen capture under Wine: the time from the start of Capture to the image held,
// and to the image on the clipboard, each as a ratio to a plain BitBlt of the same
// screen into a DIB section measured in the same run. Run with scripts/bench-capture.sh.
#include "engine/win32/ClipboardWin32.h"
#include "engine/win32/ScreenGrabberWin32.h"
#include "image/ShotImage.h"
#include "platform/win32/Dib.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Median of several rounds, in milliseconds.
double MedianMs(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PlainBitBlt(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO info = korvan::win::TopDownDib(width, height, 32);
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(section);
    ::ReleaseDC(nullptr, screen);
}

} // namespace

int main() {
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    korvan::sdk::ScreenGrabberWin32 grabber;
    korvan::sdk::ClipboardWin32 clipboard;
    korvan::TShotImage image(grabber, clipboard);
    const int rounds = 15;

    PlainBitBlt(width, height);  // warm up the display driver
    double reference = MedianMs(rounds, [&] { PlainBitBlt(width, height); });
    double held = MedianMs(rounds, [&] { image.Capture(0, 0, 0, width, height); });
    double onClipboard = MedianMs(rounds, [&] {
        image.Capture(0, 0, 0, width, height);
        image.Copy(3);
    });

    std::printf("screen %d x %d, median of %d rounds\n", width, height, rounds);
    std::printf("plain BitBlt into a DIB section   %8.2f ms\n", reference);
    std::printf("Capture to image held             %8.2f ms  ratio %.2f (target <= 1.5)\n", held, held / reference);
    std::printf("Capture and Copy to the clipboard %8.2f ms  ratio %.2f (target <= 3.0)\n", onClipboard,
                onClipboard / reference);
    return 0;
}
