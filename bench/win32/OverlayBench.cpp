// Interactive area capture under Wine, against a plain BitBlt of the same virtual screen
// measured in the same run: the time from the capture's start to the overlay shown and
// ready for the first press, and from the final press to the image held. The presses are
// posted to the overlay, so no input device is needed. Run with scripts/bench-overlay.sh.
#include "capture/win32/InteractiveCaptureWin32.h"
#include "imaging/Status.h"
#include "BenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::Clock;
using bench::Ms;
using bench::Median;
using bench::PlainBitBlt;

// Lets the screen settle, as between two captures of a user.
void Settle() {
    auto until = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < until) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(10);
    }
}

} // namespace

int main() {
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int rounds = 15;

    // The program's settings: a rectangle with the magnifier and the texts.
    korvan::win::InteractiveCaptureWin32 capture;
    const korvan::CaptureSettings settings;
    korvan::imaging::Bitmap image;
    // The user drags the whole screen but a pixel at each edge: the largest cut there is.
    capture.Probe().onReady = [&](HWND overlay) {
        ::PostMessageW(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ::PostMessageW(overlay, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width / 2, height / 2));
        ::PostMessageW(overlay, WM_LBUTTONUP, 0, MAKELPARAM(width - 1, height - 1));
    };
    PlainBitBlt(left, top, width, height);  // warm up the display driver
    // Reference and capture alternate, so a busy machine slows both alike.
    std::vector<double> blits, ready, held;
    int status = korvan::imaging::kSuccess;
    for (int i = 0; i < rounds + 1; ++i) {
        Settle();
        auto start = Clock::now();
        PlainBitBlt(left, top, width, height);
        double blit = Ms(Clock::now() - start);
        Settle();  // the display server repaints what the last overlay covered
        status = capture.CaptureArea(settings, image);
        if (status != korvan::imaging::kSuccess) break;
        const auto& t = capture.Probe().timings;
        if (i == 0) continue;  // the first round registers the window class and loads fonts
        blits.push_back(blit);
        ready.push_back(Ms(t.ready - t.start));
        held.push_back(Ms(t.held - t.finalInput));
    }
    double reference = blits.empty() ? 0 : Median(blits);
    if (status != korvan::imaging::kSuccess) {
        std::printf("capture failed: %d %s\n", status, korvan::imaging::StatusText(status).c_str());
        return 1;
    }
    std::printf("virtual screen %d x %d at (%d, %d), median of %d rounds, cut %d x %d\n", width, height, left, top,
                rounds, image.Width(), image.Height());
    std::printf("plain BitBlt of the virtual screen  %8.2f ms\n", reference);
    std::printf("start to overlay ready              %8.2f ms  ratio %.2f (target <= 2.0)\n", Median(ready),
                Median(ready) / reference);
    std::printf("final press to image held           %8.2f ms  ratio %.2f (target <= 1.5)\n", Median(held),
                Median(held) / reference);
    return 0;
}
