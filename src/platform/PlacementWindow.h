#pragma once
// What the placement store needs from a window and the desktop around it. The Win32
// adapter answers for an HWND; tests answer with a recording fake.
#include "platform/ScreenSize.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvan {

struct PlacementPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PlacementPoint&) const = default;
};

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PlacementRect&) const = default;
};

// The system's placement record of a window, field by field.
struct WindowPlacementRecord {
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    PlacementRect normalRect;
    bool operator==(const WindowPlacementRecord&) const = default;
};

enum class BorderKind { None, Single, Sizeable, Dialog, ToolWindow, SizeableToolWindow };
// Where a window opens before a stored place applies: as made, or centred on the screen.
enum class PositionRule { Designed, ScreenCenter };
enum class WindowState { Normal, Minimized, Maximized };
// Which system metrics pair gives the width of a border kind's edge.
enum class BorderMetric { None, Border, Frame, DialogFrame };
// How the window stands to the application's main window.
enum class MainWindowRole { ThisWindow, OtherWindow, NoMainWindow };

class IPlacementWindow {
public:
    virtual ~IPlacementWindow() = default;

    virtual std::wstring ExecutablePath() const = 0;
    virtual std::wstring ClassName() const = 0;
    virtual bool HasHandle() const = 0;
    virtual bool Visible() const = 0;
    virtual MainWindowRole MainRole() const = 0;
    virtual bool ApplicationMinimized() const = 0;
    virtual BorderKind Border() const = 0;
    virtual PositionRule Position() const = 0;
    virtual void SetPosition(PositionRule rule) = 0;
    // The window's outer rectangle in screen coordinates.
    virtual PlacementRect Bounds() const = 0;

    virtual WindowPlacementRecord GetPlacement() const = 0;
    virtual void SetPlacement(const WindowPlacementRecord& placement) = 0;
    virtual void SetWindowState(WindowState state) = 0;
    virtual void PostMinimizeToApplication() = 0;
    virtual void Repaint() = 0;

    virtual int PixelsPerInch() const = 0;
    virtual ScreenSize Screen() const = 0;
    virtual PlacementPoint BorderMetrics(BorderMetric metric) const = 0;
    // The work areas of all monitors; empty when the system cannot tell.
    virtual std::vector<PlacementRect> MonitorWorkAreas() const = 0;
};

} // namespace korvan
