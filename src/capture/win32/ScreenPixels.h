#pragma once
// Screen pixels held in a 32-bit section: the frozen picture of the whole virtual screen
// an interactive capture shows and cuts from, or one rectangle grabbed live.
#include "capture/CaptureGeometry.h"
#include "capture/ShapeMask.h"
#include "platform/win32/Handles.h"

#include <windows.h>

#include <vector>

namespace korvan::win {

class ScreenPixels {
public:
    ScreenPixels() = default;
    ScreenPixels(const ScreenPixels&) = delete;
    ScreenPixels& operator=(const ScreenPixels&) = delete;
    ~ScreenPixels();

    // Grabs the rectangle of the screen (layered windows included). kSuccess or a status.
    int Grab(const Rect& screen);

    HDC Dc() const { return dc_.get(); }
    const Rect& Bounds() const { return bounds_; }
    PixelSource Pixels() const;

private:
    void Release();

    Rect bounds_;
    MemoryDc dc_;
    GdiObject section_;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

// The virtual screen and its monitors, in physical pixels.
Rect VirtualScreenRect();
std::vector<Rect> MonitorRects();

// The part of a window the user sees: without the invisible resize borders and shadow
// the desktop window manager adds (its extended frame bounds), else the window rectangle.
Rect VisibleWindowBounds(HWND window);
// Whether the desktop window manager keeps the window out of sight (another virtual
// desktop, a suspended app).
bool IsCloaked(HWND window);

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace korvan::win
