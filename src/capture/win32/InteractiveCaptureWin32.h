#pragma once
// The imaging layer's interactive capture on the screen of this machine. One per process:
// the capture options it keeps are shared by every capture component.
#include "capture/InteractiveCapture.h"
#include "capture/win32/CaptureOverlay.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>

namespace korvan::imaging {

class InteractiveCaptureWin32 final : public IInteractiveCapture {
public:
    static InteractiveCaptureWin32& Instance();

    int ImgGetDefaultAreaOption(AreaOptions& options) override;
    int ImgGetDefaultObjectOption(ObjectOptions& options) override;
    int ImgGetCaptureOption(CaptureOptions& options) override;
    int ImgSetCaptureOption(const CaptureOptions& options) override;
    int ImgCaptureSetHotKeyCallback(HotKeyCallback callback, void* userData) override;
    int ImgStopCapture() override;
    int ImgCaptureArea(Bitmap& bitmap, AreaOptions& options, CaptureInfo& info, CaptureCallback callback,
                       void* userData) override;
    int ImgCaptureSelectedObject(Bitmap& bitmap, ObjectOptions& options, CaptureInfo& info,
                                 CaptureCallback callback, void* userData) override;
    int ImgCaptureActiveWindow(Bitmap& bitmap, CaptureInfo& info, CaptureCallback callback,
                               void* userData) override;
    int ImgInitBitmap(Bitmap& bitmap, int width, int height, int bitsPerPixel) override;
    int ImgFreeBitmap(Bitmap& bitmap) override;

    // For tests and measurements: when the last capture started, showed its overlay
    // ready for input, received its final press and held its first image.
    struct Timings {
        std::chrono::steady_clock::time_point start, ready, finalInput, held;
    };
    const Timings& LastTimings() const { return timings_; }
    // Called with the overlay window each time one is ready for input.
    void SetReadyObserver(std::function<void(HWND)> observer) { readyObserver_ = std::move(observer); }
    // Mouse and key messages the overlay has handled so far.
    unsigned InputEventsHandled() const { return inputEvents_.load(); }
    // The screen point of the last mouse message the overlay handled.
    Point PointerHandled() const { return UnpackPoint(pointerHandled_.load()); }

private:
    // What the user chose: the rectangle to capture (screen pixels), for an area also its
    // shape, and the first image cut from the frozen screen.
    struct Selection;
    using Pick = std::function<int(Selection&)>;

    InteractiveCaptureWin32() = default;
    int Run(CaptureKind kind, int areaType, Bitmap& bitmap, CaptureInfo& info, CaptureCallback callback,
            void* userData, const Pick& pick);
    int WaitForHotKey();
    bool Pause(int milliseconds);
    int Regrab(Selection& selection);
    int ShowFrozenScreen(ScreenPixels& frozen, CaptureOverlay::Settings settings,
                         const std::function<int(const CaptureOverlay::Result&)>& take);

    CaptureOptions options_ = DefaultCaptureOptions();
    HotKeyCallback hotKeyCallback_ = nullptr;
    void* hotKeyUserData_ = nullptr;
    bool running_ = false;
    bool waiting_ = false;  // for the hot key, the delay or the interval
    bool stopRequested_ = false;
    Timings timings_;
    std::function<void(HWND)> readyObserver_;
    std::atomic<unsigned> inputEvents_{0};
    std::atomic<uint64_t> pointerHandled_{0};
};

} // namespace korvan::imaging
