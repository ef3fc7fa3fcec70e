#pragma once
// A window for the placement store's tests: answers from public fields and records
// every change the store makes, in order.
#include "platform/PlacementWindow.h"

#include <string>
#include <vector>

namespace korvan::test {

inline std::wstring Describe(const WindowPlacementRecord& p) {
    auto n = [](int v) { return std::to_wstring(v); };
    return L"SetPlacement(" + n(static_cast<int>(p.flags)) + L"," + n(static_cast<int>(p.showCmd)) + L" min " +
           n(p.minPosition.x) + L"," + n(p.minPosition.y) + L" max " + n(p.maxPosition.x) + L"," +
           n(p.maxPosition.y) + L" normal " + n(p.normalRect.left) + L"," + n(p.normalRect.top) + L"," +
           n(p.normalRect.right) + L"," + n(p.normalRect.bottom) + L")";
}

inline const wchar_t* Describe(WindowState state) {
    switch (state) {
    case WindowState::Normal: return L"SetWindowState(Normal)";
    case WindowState::Minimized: return L"SetWindowState(Minimized)";
    case WindowState::Maximized: return L"SetWindowState(Maximized)";
    }
    return L"?";
}

class FakePlacementWindow final : public IPlacementWindow {
public:
    std::wstring executable = L"C:\\Programs\\Korvan\\Korvan.exe";
    std::wstring className = L"TImage";
    bool hasHandle = true;
    bool visible = false;
    MainWindowRole role = MainWindowRole::OtherWindow;
    bool applicationMinimized = false;
    BorderKind border = BorderKind::Sizeable;
    PositionRule position = PositionRule::Designed;
    WindowPlacementRecord placement{0, 1, {-1, -1}, {-1, -1}, {489, 235, 795, 490}};
    int pixelsPerInch = 96;
    ScreenSize screen{1024, 768};
    PlacementPoint borderMetric{1, 1}, frameMetric{4, 4}, dialogMetric{3, 3};
    std::vector<PlacementRect> workAreas{{0, 0, 1024, 768}};
    std::vector<std::wstring> calls;

    std::wstring ExecutablePath() const override { return executable; }
    std::wstring ClassName() const override { return className; }
    bool HasHandle() const override { return hasHandle; }
    bool Visible() const override { return visible; }
    MainWindowRole MainRole() const override { return role; }
    bool ApplicationMinimized() const override { return applicationMinimized; }
    BorderKind Border() const override { return border; }
    PositionRule Position() const override { return position; }
    void SetPosition(PositionRule rule) override {
        calls.push_back(L"SetPosition(" + std::to_wstring(static_cast<int>(rule)) + L")");
        position = rule;
    }
    PlacementRect Bounds() const override { return placement.normalRect; }
    WindowPlacementRecord GetPlacement() const override { return placement; }
    void SetPlacement(const WindowPlacementRecord& p) override {
        calls.push_back(Describe(p));
        placement = p;
    }
    void SetWindowState(WindowState state) override { calls.push_back(Describe(state)); }
    void PostMinimizeToApplication() override { calls.push_back(L"PostMinimize"); }
    void Repaint() override { calls.push_back(L"Repaint"); }
    int PixelsPerInch() const override { return pixelsPerInch; }
    ScreenSize Screen() const override { return screen; }
    PlacementPoint BorderMetrics(BorderMetric metric) const override {
        switch (metric) {
        case BorderMetric::Border: return borderMetric;
        case BorderMetric::Frame: return frameMetric;
        case BorderMetric::DialogFrame: return dialogMetric;
        default: return {99, 99};  // the store must not ask for a window without a border
        }
    }
    std::vector<PlacementRect> MonitorWorkAreas() const override { return workAreas; }
};

} // namespace korvan::test
