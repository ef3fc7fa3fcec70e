#pragma once
// The full-screen window of an interactive capture: shows the frozen screen on every
// monitor and lets the user draw an area or pick a window or control on it.
#include "capture/CaptureSettings.h"
#include "capture/ShapeMask.h"
#include "capture/win32/ScreenPixels.h"
#include "platform/MonitorDpi.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBase.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvan::win {

// The window class the overlay registers; tests find the overlay by it.
inline constexpr wchar_t kCaptureOverlayClass[] = L"KorvanCaptureOverlay";

// A screen point in one word, so another thread can read it whole.
inline uint64_t PackPoint(Point p) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(p.x)) << 32) | static_cast<uint32_t>(p.y);
}
inline Point UnpackPoint(uint64_t packed) {
    return {static_cast<int32_t>(static_cast<uint32_t>(packed >> 32)), static_cast<int32_t>(static_cast<uint32_t>(packed))};
}

// What tests and the benchmark observe of the captures of one interactive capture; the
// program itself never reads it. The counters are read from other threads.
struct CaptureProbe {
    using Clock = std::chrono::steady_clock;
    // Called with the overlay once it shows, is painted and holds the keyboard.
    std::function<void(HWND)> onReady;
    std::atomic<unsigned> inputEvents{0};     // mouse and key messages the overlays handled
    std::atomic<uint64_t> pointerHandled{0};  // the screen point of the last mouse message (PackPoint)
    // The last capture: started, overlay ready for input, final press, image held.
    struct Timings {
        Clock::time_point start, ready, finalInput, held;
    } timings;
    Point PointerHandled() const { return UnpackPoint(pointerHandled.load()); }
};

class CaptureOverlay final : public WindowBase<CaptureOverlay> {
public:
    enum class Mode { Area, Object };
    struct Result {
        int status = 0;
        Shape shape;      // the area drawn
        Rect objectRect;  // the object picked, clipped to the screen
        HWND object = nullptr;
        Point pointer;
        std::chrono::steady_clock::time_point finalInput;
    };

    // The frozen picture covers the screen rectangle; it may still be being grabbed:
    // awaitPicture, called once the window exists and before it shows, waits for it and
    // answers the grab's status.
    CaptureOverlay(const ScreenPixels& frozen, const Rect& screen, std::vector<Rect> monitors, Mode mode,
                   const CaptureSettings& settings, std::function<int()> awaitPicture, CaptureProbe& probe);
    // Shows the overlay and runs until the user finishes or cancels.
    Result Run();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Picked {
        HWND window = nullptr;
        Rect rect;
    };

    // Input.
    void OnPointer(Point p);
    void OnButtonDown(Point p);
    void OnButtonUp(Point p);
    void OnDoubleClick(Point p);
    void OnRightButton();
    void OnKey(WPARAM key);
    void MovePointer(int dx, int dy);
    void KeyButton(bool enter);
    void Finish();
    void Cancel();
    void Restart();
    bool IsCancelKey(WPARAM key) const;

    // Objects under the pointer.
    void SnapshotWindows();
    Picked ObjectAt(Point p) const;

    // Painting.
    void Paint();
    void PaintDecorations(HDC dc);
    void DrawOutline(HDC dc);
    void DrawCrossLines(HDC dc);
    void DrawInfoBlock(HDC dc);
    void DrawMagnifier(HDC dc, const Rect& magnifier);
    void DrawObjectFrame(HDC dc);
    void DrawTextBox(HDC dc, const Rect& box, const std::vector<std::wstring>& lines);
    bool ShowsCrossLines() const { return mode_ == Mode::Area && settings_.crossLines; }
    int MagnifierZoom() const { return mode_ == Mode::Area ? settings_.magnifierZoom : 0; }
    std::vector<Rect> Decorations();
    std::vector<Rect> OutlineRects() const;
    Rect InfoBlockRect(Rect* magnifier, Rect* text);
    std::vector<std::wstring> InfoLines() const;
    Rect ShapeBoxWithPointer() const;
    void Refresh();
    void RefreshAll();
    void SetOverlayCursor();

    POINT ToClient(Point p) const { return {p.x - screen_.left, p.y - screen_.top}; }
    Point FromClient(LPARAM lParam) const;
    RECT ClientRect(const Rect& r) const {
        return {r.left - screen_.left, r.top - screen_.top, r.right - screen_.left, r.bottom - screen_.top};
    }
    // Lengths designed at 96 DPI take the DPI of the monitor under the pointer.
    int Scaled(int designed) const;
    int PointerDpi() const;
    HGDIOBJ Font();

    const ScreenPixels& frozen_;
    std::vector<Rect> monitors_;
    Mode mode_;
    CaptureSettings settings_;
    std::function<int()> awaitPicture_;
    CaptureProbe& probe_;
    Rect screen_;
    std::vector<MonitorDpi> monitorDpis_;
    GdiObject font_;
    int fontDpi_ = 0;

    Point pointer_;
    Shape shape_;
    bool drawing_ = false;
    bool done_ = false;
    Result result_;
    std::vector<std::pair<HWND, Rect>> topLevels_;
    Picked hovered_;
    std::vector<Rect> lastDecorations_;
    bool painted_ = false;
};

} // namespace korvan::win
