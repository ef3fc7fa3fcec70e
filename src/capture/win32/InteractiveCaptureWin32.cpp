#include "capture/win32/InteractiveCaptureWin32.h"

#include "capture/ShapeMask.h"
#include "capture/win32/ScreenPixels.h"
#include "imaging/Status.h"

#include <thread>

namespace korvan::win {

using Clock = CaptureProbe::Clock;
using imaging::Bitmap;
using imaging::kSuccess;

namespace {

// The overlay covers every monitor: one capture at a time in the whole process.
bool g_captureRunning = false;

class RunningScope {
public:
    RunningScope() { g_captureRunning = true; }
    ~RunningScope() { g_captureRunning = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
};

// The rectangle of the screen as it shows now.
int GrabLive(const Rect& rect, Bitmap& image) {
    ScreenPixels pixels;
    int status = pixels.Grab(rect);
    if (status != kSuccess) return status;
    return CutImage(pixels.Pixels(), rect, nullptr, {}, image);
}

} // namespace

int InteractiveCaptureWin32::RunAlone(Bitmap& image, const std::function<int(Bitmap&)>& capture) {
    if (g_captureRunning) return imaging::kCaptureInProcess;
    RunningScope running;
    probe_.timings = {};
    probe_.timings.start = Clock::now();
    Bitmap captured;
    int status = capture(captured);
    if (status == kSuccess) image = std::move(captured);
    return status;
}

// Grabs the whole virtual screen on a second thread while the overlay window is made,
// then shows the picture and lets the user work on it.
int InteractiveCaptureWin32::ShowFrozenScreen(CaptureOverlay::Mode mode, const CaptureSettings& settings,
                                              Bitmap& image, const Take& take) {
    Rect screen = VirtualScreenRect();
    ScreenPixels frozen;
    int grabbed = imaging::kCaptureBitmapFailed;
    std::thread grabber([&] { grabbed = frozen.Grab(screen); });
    struct JoinAtEnd {
        std::thread& thread;
        ~JoinAtEnd() {
            if (thread.joinable()) thread.join();
        }
    } joinAtEnd{grabber};
    auto awaitPicture = [&] {
        if (grabber.joinable()) grabber.join();
        return grabbed;
    };
    CaptureOverlay overlay(frozen, screen, MonitorRects(), mode, settings, awaitPicture, probe_);
    CaptureOverlay::Result result = overlay.Run();
    if (result.status != kSuccess) return result.status;
    probe_.timings.finalInput = result.finalInput;
    int status = take(frozen, result, image);
    probe_.timings.held = Clock::now();
    return status;
}

int InteractiveCaptureWin32::CaptureArea(const CaptureSettings& settings, Bitmap& image) {
    return RunAlone(image, [&](Bitmap& captured) {
        return ShowFrozenScreen(CaptureOverlay::Mode::Area, settings, captured,
                                [&](const ScreenPixels& frozen, const CaptureOverlay::Result& result, Bitmap& cut) {
                                    const Shape& shape = result.shape;
                                    bool byPoints = !IsDragShape(shape.type);
                                    if (byPoints && shape.points.size() < 3) return int(imaging::kZeroAreaSize);
                                    ShapeMask mask(shape);
                                    if (mask.Bounds().Empty() || mask.CountInside() == 0)
                                        return int(imaging::kZeroAreaSize);
                                    return CutImage(frozen.Pixels(), mask.Bounds(),
                                                    settings.cutToShape ? &mask : nullptr, settings.outsideColour,
                                                    cut);
                                });
    });
}

int InteractiveCaptureWin32::CaptureObject(const CaptureSettings& settings, Bitmap& image) {
    return RunAlone(image, [&](Bitmap& captured) {
        return ShowFrozenScreen(CaptureOverlay::Mode::Object, settings, captured,
                                [](const ScreenPixels& frozen, const CaptureOverlay::Result& result, Bitmap& cut) {
                                    if (result.objectRect.Empty()) return int(imaging::kNoObjectSelected);
                                    return CutImage(frozen.Pixels(), result.objectRect, nullptr, {}, cut);
                                });
    });
}

int InteractiveCaptureWin32::CaptureWindowUnderPointer(Bitmap& image) {
    return RunAlone(image, [&](Bitmap& captured) {
        POINT pointer{};
        ::GetCursorPos(&pointer);
        HWND under = ::WindowFromPoint(pointer);
        if (!under) return int(imaging::kNoActiveWindow);
        HWND window = ::GetAncestor(under, GA_ROOT);
        if (!window) window = under;
        Rect screen = VirtualScreenRect();
        bool desktop = window == ::GetDesktopWindow() || window == ::GetShellWindow();
        Rect rect = VirtualScreen(screen).Clip(desktop ? screen : VisibleWindowBounds(window));
        if (rect.Empty()) return int(imaging::kCannotCaptureWindow);
        probe_.timings.finalInput = Clock::now();
        int status = GrabLive(rect, captured);
        probe_.timings.held = Clock::now();
        return status == kSuccess ? kSuccess : int(imaging::kCannotCaptureWindow);
    });
}

} // namespace korvan::win
