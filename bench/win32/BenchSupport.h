#pragma once
// Timing and the reference grab shared by the Windows benchmarks.
#include "platform/win32/Dib.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
inline double MsSince(Clock::time_point start) { return Ms(Clock::now() - start); }

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The reference every capture is measured against: a plain BitBlt of the screen
// rectangle into a 32-bit DIB section.
inline void PlainBitBlt(int left, int top, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO info = korvan::win::TopDownDib(width, height, 32);
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(section);
    ::ReleaseDC(nullptr, screen);
}

} // namespace bench
