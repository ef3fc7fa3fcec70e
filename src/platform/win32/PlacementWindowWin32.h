#pragma once
// The placement store's view of a real window. Every rectangle it reports is in the
// coordinates of the window's placement record (workspace coordinates for ordinary
// top-level windows, screen coordinates for tool windows), so stored, current and
// monitor rectangles can be compared directly.
#include "platform/PlacementWindow.h"

#include <windows.h>

namespace korvan::win {

// What the window's class declares about itself; the system cannot tell these apart.
struct PlacementWindowTraits {
    BorderKind border = BorderKind::Sizeable;
    PositionRule position = PositionRule::Designed;
};

class PlacementWindowWin32 final : public IPlacementWindow {
public:
    // mainWindow: the application's main window, the window itself for the main window,
    // or null when there is none.
    PlacementWindowWin32(HWND window, HWND mainWindow, PlacementWindowTraits traits);

    std::wstring ExecutablePath() const override;
    std::wstring ClassName() const override;
    bool HasHandle() const override;
    bool Visible() const override;
    MainWindowRole MainRole() const override;
    bool ApplicationMinimized() const override;
    BorderKind Border() const override { return traits_.border; }
    PositionRule Position() const override { return traits_.position; }
    void SetPosition(PositionRule rule) override { traits_.position = rule; }
    PlacementRect Bounds() const override;

    WindowPlacementRecord GetPlacement() const override;
    void SetPlacement(const WindowPlacementRecord& placement) override;
    void SetWindowState(WindowState state) override;
    void PostMinimizeToApplication() override;
    void Repaint() override;

    int PixelsPerInch() const override;
    ScreenSize Screen() const override;
    PlacementPoint BorderMetrics(BorderMetric metric) const override;
    std::vector<PlacementRect> MonitorWorkAreas() const override;

private:
    HWND ApplicationWindow() const;
    POINT WorkspaceOffset() const;
    PlacementRect ToPlacementCoordinates(const RECT& screen) const;

    HWND window_;
    HWND mainWindow_;
    PlacementWindowTraits traits_;
};

} // namespace korvan::win
