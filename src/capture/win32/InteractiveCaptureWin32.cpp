#include "capture/win32/InteractiveCaptureWin32.h"

#include "imaging/Status.h"
#include "capture/ShapeMask.h"
#include "capture/win32/CaptureOverlay.h"
#include "capture/win32/ScreenPixels.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace korvan::imaging {

using Clock = std::chrono::steady_clock;

struct InteractiveCaptureWin32::Selection {
    Rect rect;
    std::optional<ShapeMask> mask;
    OutsideFill fill;
    bool includeCursor = false;
    HWND window = nullptr;
    Point pointer;
    Bitmap image;
};

namespace {

constexpr int kHotKeyId = 0x4B43;

// Ends a flag's scope: the capture is no longer running, the wait no longer armed.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// Dispatches the thread's messages until the deadline; false when the program quits.
bool PumpUntil(Clock::time_point deadline, const bool& stop, const std::function<bool(const MSG&)>& filter = {}) {
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            if (filter && filter(message)) return true;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (stop) return false;
        auto now = Clock::now();
        if (now >= deadline) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left + 1, 50)),
                                    QS_ALLINPUT);
    }
}

void FillInfo(CaptureInfo& info, CaptureKind kind, int areaType, const Rect& rect, Point pointer, HWND window,
              int page) {
    info.kind = kind;
    info.areaType = areaType;
    info.left = rect.left;
    info.top = rect.top;
    info.right = rect.right;
    info.bottom = rect.bottom;
    info.pageNumber = page;
    info.cursorX = pointer.x;
    info.cursorY = pointer.y;
    info.window = reinterpret_cast<uintptr_t>(window);
    if (info.text && info.textSize > 0) {
        info.text[0] = 0;
        if (window) ::GetWindowTextA(window, info.text, info.textSize);
    }
}

} // namespace

InteractiveCaptureWin32& InteractiveCaptureWin32::Instance() {
    static InteractiveCaptureWin32 instance;
    return instance;
}

int InteractiveCaptureWin32::ImgGetDefaultAreaOption(AreaOptions& options) {
    options = DefaultAreaOptions();
    return kSuccess;
}

int InteractiveCaptureWin32::ImgGetDefaultObjectOption(ObjectOptions& options) {
    options = DefaultObjectOptions();
    return kSuccess;
}

int InteractiveCaptureWin32::ImgGetCaptureOption(CaptureOptions& options) {
    options = options_;
    return kSuccess;
}

// Kept even when invalid (a hot key equal to the cancel key after its modifiers were
// cleared): the next capture then answers the reason instead of running with options
// the caller no longer has.
int InteractiveCaptureWin32::ImgSetCaptureOption(const CaptureOptions& options) {
    options_ = options;
    return ValidateCaptureOptions(options);
}

int InteractiveCaptureWin32::ImgCaptureSetHotKeyCallback(HotKeyCallback callback, void* userData) {
    hotKeyCallback_ = callback;
    hotKeyUserData_ = userData;
    return kSuccess;
}

int InteractiveCaptureWin32::ImgStopCapture() {
    if (waiting_) stopRequested_ = true;
    return kSuccess;
}

int InteractiveCaptureWin32::ImgInitBitmap(Bitmap& bitmap, int width, int height, int bitsPerPixel) {
    bitmap.Reset();
    if (width == 0 && height == 0) return kSuccess;
    return Bitmap::Create(bitmap, width, height, bitsPerPixel);
}

int InteractiveCaptureWin32::ImgFreeBitmap(Bitmap& bitmap) {
    bitmap.Reset();
    return kSuccess;
}

int InteractiveCaptureWin32::Run(CaptureKind kind, int areaType, Bitmap& bitmap, CaptureInfo& info,
                                 CaptureCallback callback, void* userData, const Pick& pick) {
    if (running_) return kCaptureInProcess;
    int status = ValidateCaptureOptions(options_);
    if (status != kSuccess) return status;
    FlagScope running(running_);
    stopRequested_ = false;
    timings_ = {};
    timings_.start = Clock::now();

    status = WaitForHotKey();
    if (status != kSuccess) return status;
    if (!Pause(options_.delayMs)) return kCaptureCancelled;

    Selection selection;
    status = pick(selection);
    if (status != kSuccess) return status;
    int count = std::max(1, options_.count);
    for (int page = 1; page <= count; ++page) {
        if (page > 1) {
            if (!Pause(options_.intervalMs)) break;
            status = Regrab(selection);
            if (status != kSuccess) return status;
        }
        bitmap = std::move(selection.image);
        selection.image = Bitmap();
        FillInfo(info, kind, areaType, selection.rect, selection.pointer, selection.window, page);
        if (callback) callback(&bitmap, &info, userData);
    }
    return kSuccess;
}

int InteractiveCaptureWin32::WaitForHotKey() {
    if (options_.hotKey == 0) return kSuccess;
    int m = options_.hotKeyModifiers;
    UINT modifiers = MOD_NOREPEAT | ((m & 1) ? MOD_SHIFT : 0) | ((m & 2) ? MOD_CONTROL : 0) | ((m & 4) ? MOD_ALT : 0);
    if (!::RegisterHotKey(nullptr, kHotKeyId, modifiers, static_cast<UINT>(options_.hotKey)))
        return kInvalidCaptureHotkey;
    bool pressed = false;
    {
        FlagScope waiting(waiting_);
        for (;;) {
            bool cancelKeyDown = options_.cancelKey != 0 && (::GetAsyncKeyState(options_.cancelKey) & 0x8000) != 0;
            if (cancelKeyDown) break;
            bool ok = PumpUntil(Clock::now() + std::chrono::milliseconds(50), stopRequested_, [&](const MSG& message) {
                pressed = message.message == WM_HOTKEY && message.hwnd == nullptr && message.wParam == kHotKeyId;
                return pressed;
            });
            if (!ok || pressed) break;
        }
    }
    ::UnregisterHotKey(nullptr, kHotKeyId);
    if (!pressed) return kCaptureCancelled;
    if (hotKeyCallback_) hotKeyCallback_(options_.hotKey, options_.hotKeyModifiers, hotKeyUserData_);
    return kSuccess;
}

bool InteractiveCaptureWin32::Pause(int milliseconds) {
    if (milliseconds <= 0) return !stopRequested_;
    FlagScope waiting(waiting_);
    return PumpUntil(Clock::now() + std::chrono::milliseconds(milliseconds), stopRequested_);
}

int InteractiveCaptureWin32::Regrab(Selection& selection) {
    ScreenPixels pixels;
    int status = pixels.Grab(selection.rect);
    if (status != kSuccess) return status;
    if (selection.includeCursor) {
        CURSORINFO cursor{sizeof(cursor)};
        if (::GetCursorInfo(&cursor)) pixels.DrawCursor(cursor);
    }
    return CutImage(pixels.Pixels(), selection.rect, selection.mask ? &*selection.mask : nullptr, selection.fill,
                    selection.image);
}

// Grabs the whole virtual screen on a second thread while the overlay window is made,
// then shows the picture and lets the user work on it.
int InteractiveCaptureWin32::ShowFrozenScreen(ScreenPixels& frozen, CaptureOverlay::Settings settings,
                                              const std::function<int(const CaptureOverlay::Result&)>& take) {
    Rect screen = VirtualScreenRect();
    int grabbed = kCaptureBitmapFailed;
    std::thread grabber([&] { grabbed = frozen.Grab(screen); });
    struct JoinAtEnd {
        std::thread& thread;
        ~JoinAtEnd() {
            if (thread.joinable()) thread.join();
        }
    } joinAtEnd{grabber};
    settings.awaitPicture = [&] {
        if (grabber.joinable()) grabber.join();
        return grabbed;
    };
    settings.cancelKey = options_.cancelKey;
    settings.inputEvents = &inputEvents_;
    settings.pointerHandled = &pointerHandled_;
    settings.onReady = [this](HWND overlay) {
        timings_.ready = Clock::now();
        if (readyObserver_) readyObserver_(overlay);
    };
    CaptureOverlay overlay(frozen, screen, MonitorRects(), std::move(settings));
    CaptureOverlay::Result result = overlay.Run();
    if (result.status != kSuccess) return result.status;
    timings_.finalInput = result.finalInput;
    return take(result);  // while the overlay still shows, so the image is held at once
}

int InteractiveCaptureWin32::ImgCaptureArea(Bitmap& bitmap, AreaOptions& options, CaptureInfo& info,
                                            CaptureCallback callback, void* userData) {
    if (options.areaType < kAreaTriangle || options.areaType > kAreaFreehand) return kWrongAreaType;
    return Run(kCaptureKindArea, options.areaType, bitmap, info, callback, userData, [&](Selection& selection) -> int {
        CURSORINFO cursor{sizeof(cursor)};
        bool cursorKnown = ::GetCursorInfo(&cursor) != FALSE;
        ScreenPixels frozen;
        CaptureOverlay::Settings settings;
        settings.mode = CaptureOverlay::Mode::Area;
        settings.area = options;
        return ShowFrozenScreen(frozen, std::move(settings), [&](const CaptureOverlay::Result& result) -> int {
            const Shape& shape = result.shape;
            bool corners = shape.areaType == kAreaPolygon || shape.areaType == kAreaFreehand;
            if (corners && shape.points.size() < 3) return kZeroAreaSize;
            ShapeMask mask(shape);
            if (mask.Bounds().Empty() || mask.CountInside() == 0) return kZeroAreaSize;
            selection.rect = mask.Bounds();
            selection.pointer = result.pointer;
            selection.includeCursor = (options.flags & kAreaIncludeCursor) != 0;
            selection.fill = {options.fillPattern, options.fillForeColor, options.fillBackColor};
            if (options.flags & kAreaBitmapWithRegion) selection.mask.emplace(std::move(mask));
            if (selection.includeCursor && cursorKnown) frozen.DrawCursor(cursor);
            int status = CutImage(frozen.Pixels(), selection.rect, selection.mask ? &*selection.mask : nullptr,
                                  selection.fill, selection.image);
            timings_.held = Clock::now();
            return status;
        });
    });
}

int InteractiveCaptureWin32::ImgCaptureSelectedObject(Bitmap& bitmap, ObjectOptions& options, CaptureInfo& info,
                                                      CaptureCallback callback, void* userData) {
    return Run(kCaptureKindObject, 0, bitmap, info, callback, userData, [&](Selection& selection) -> int {
        ScreenPixels frozen;
        CaptureOverlay::Settings settings;
        settings.mode = CaptureOverlay::Mode::Object;
        settings.object = options;
        return ShowFrozenScreen(frozen, std::move(settings), [&](const CaptureOverlay::Result& result) -> int {
            if (result.objectRect.Empty()) return kNoObjectSelected;
            selection.rect = result.objectRect;
            selection.window = result.object;
            selection.pointer = result.pointer;
            int status = CutImage(frozen.Pixels(), selection.rect, nullptr, {}, selection.image);
            timings_.held = Clock::now();
            return status;
        });
    });
}

int InteractiveCaptureWin32::ImgCaptureActiveWindow(Bitmap& bitmap, CaptureInfo& info, CaptureCallback callback,
                                                    void* userData) {
    return Run(kCaptureKindWindow, 0, bitmap, info, callback, userData, [&](Selection& selection) -> int {
        POINT pointer{};
        ::GetCursorPos(&pointer);
        HWND under = ::WindowFromPoint(pointer);
        if (!under) return kNoActiveWindow;
        HWND window = ::GetAncestor(under, GA_ROOT);
        if (!window) window = under;
        Rect screen = VirtualScreenRect();
        bool desktop = window == ::GetDesktopWindow() || window == ::GetShellWindow();
        selection.rect = VirtualScreen(screen).Clip(desktop ? screen : VisibleWindowBounds(window));
        if (selection.rect.Empty()) return kCannotCaptureWindow;
        selection.window = window;
        selection.pointer = {pointer.x, pointer.y};
        timings_.finalInput = Clock::now();
        int status = Regrab(selection);
        timings_.held = Clock::now();
        return status == kSuccess ? kSuccess : kCannotCaptureWindow;
    });
}

} // namespace korvan::imaging
