#pragma once
// The full-screen window of an interactive capture: shows the frozen screen on every
// monitor and lets the user draw an area or pick a window or control on it.
#include "capture/InteractiveCapture.h"
#include "capture/ShapeMask.h"
#include "capture/win32/ScreenPixels.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBase.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvan::imaging {

// A screen point in one word, so another thread can read it whole.
inline uint64_t PackPoint(Point p) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(p.x)) << 32) | static_cast<uint32_t>(p.y);
}
inline Point UnpackPoint(uint64_t packed) {
    return {static_cast<int32_t>(static_cast<uint32_t>(packed >> 32)), static_cast<int32_t>(static_cast<uint32_t>(packed))};
}

class CaptureOverlay final : public win::WindowBase<CaptureOverlay> {
public:
    enum class Mode { Area, Object };
    struct Settings {
        Mode mode = Mode::Area;
        AreaOptions area;
        ObjectOptions object;
        int cancelKey = 27;
        std::function<void(HWND)> onReady;              // shown, painted and holding the keyboard
        std::atomic<unsigned>* inputEvents = nullptr;   // counts every mouse and key message handled
        std::atomic<uint64_t>* pointerHandled = nullptr;  // the screen point of the last mouse message
        // Called once the window exists, before it shows: waits for the frozen picture
        // (grabbed meanwhile on another thread) and answers the grab's status.
        std::function<int()> awaitPicture;
    };
    struct Result {
        int status = 0;
        Shape shape;         // the area drawn
        Rect objectRect;     // the object picked, clipped to the screen
        HWND object = nullptr;
        Point pointer;
        std::chrono::steady_clock::time_point finalInput;
    };

    // The frozen picture covers the screen rectangle; it may still be being grabbed.
    CaptureOverlay(const ScreenPixels& frozen, const Rect& screen, std::vector<Rect> monitors, Settings settings);
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
    bool Drawing() const { return drawing_; }

    // Objects under the pointer.
    void SnapshotWindows();
    Picked ObjectAt(Point p) const;

    // Painting.
    void Paint();
    void PaintDecorations(HDC dc, const RECT& clip);
    void DrawOutline(HDC dc);
    void DrawCrossLines(HDC dc);
    void DrawInfoBlock(HDC dc);
    void DrawInfoWindow(HDC dc);
    void DrawObjectFrame(HDC dc);
    void DrawTextBox(HDC dc, const Rect& box, const std::vector<std::wstring>& lines, COLORREF fore, COLORREF back,
                     bool opaque);
    std::vector<Rect> Decorations();
    std::vector<Rect> OutlineRects() const;
    Rect InfoBlockRect(Rect* magnifier, Rect* text);
    Rect InfoWindowRect();
    void MoveInfoWindowAway();
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
    int Scaled(int designed) const;

    const ScreenPixels& frozen_;
    std::vector<Rect> monitors_;
    Settings settings_;
    Rect screen_;
    win::GdiObject font_;
    UINT dpi_ = 96;

    Point pointer_;
    Shape shape_;
    bool drawing_ = false;
    bool done_ = false;
    Result result_;
    std::vector<std::pair<HWND, Rect>> topLevels_;
    Picked hovered_;
    std::vector<Rect> lastDecorations_;
    bool infoWindowMoved_ = false;
    bool painted_ = false;
};

} // namespace korvan::imaging
