#include "platform/win32/PlacementWindowWin32.h"

#include "platform/win32/Handles.h"
#include "platform/win32/MonitorWorkArea.h"
#include "platform/win32/WindowBase.h"

#include <vector>

namespace korvan::win {
namespace {

PlacementRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const PlacementRect& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

PlacementWindowWin32::PlacementWindowWin32(HWND window, HWND mainWindow, PlacementWindowTraits traits)
    : window_(window), mainWindow_(mainWindow), traits_(traits) {}

std::wstring PlacementWindowWin32::ExecutablePath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);  // truncated: a long path, try a larger buffer
    }
}

std::wstring PlacementWindowWin32::ClassName() const {
    wchar_t name[256] = {};
    int length = ::GetClassNameW(window_, name, static_cast<int>(std::size(name)));
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool PlacementWindowWin32::HasHandle() const { return window_ && ::IsWindow(window_); }
bool PlacementWindowWin32::Visible() const { return ::IsWindowVisible(window_) != FALSE; }

MainWindowRole PlacementWindowWin32::MainRole() const {
    if (!mainWindow_) return MainWindowRole::NoMainWindow;
    return mainWindow_ == window_ ? MainWindowRole::ThisWindow : MainWindowRole::OtherWindow;
}

// The application minimises through its task-bar window, which owns the main window.
HWND PlacementWindowWin32::ApplicationWindow() const {
    HWND application = ApplicationHandle();
    return application ? application : mainWindow_;
}

bool PlacementWindowWin32::ApplicationMinimized() const {
    HWND application = ApplicationWindow();
    return application && ::IsIconic(application);
}

// Workspace coordinates start at the primary monitor's work area; tool windows use the screen's.
POINT PlacementWindowWin32::WorkspaceOffset() const {
    if (::GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    MONITORINFO info{sizeof(info)};
    if (!::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return {0, 0};
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

PlacementRect PlacementWindowWin32::ToPlacementCoordinates(const RECT& screen) const {
    POINT offset = WorkspaceOffset();
    return {screen.left - offset.x, screen.top - offset.y, screen.right - offset.x, screen.bottom - offset.y};
}

PlacementRect PlacementWindowWin32::Bounds() const {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    return ToPlacementCoordinates(rect);
}

WindowPlacementRecord PlacementWindowWin32::GetPlacement() const {
    WINDOWPLACEMENT wp{sizeof(wp)};
    ::GetWindowPlacement(window_, &wp);
    return {wp.flags, wp.showCmd, {wp.ptMinPosition.x, wp.ptMinPosition.y},
            {wp.ptMaxPosition.x, wp.ptMaxPosition.y}, FromRect(wp.rcNormalPosition)};
}

void PlacementWindowWin32::SetPlacement(const WindowPlacementRecord& p) {
    WINDOWPLACEMENT wp{sizeof(wp)};
    wp.flags = p.flags;
    wp.showCmd = p.showCmd;
    wp.ptMinPosition = {p.minPosition.x, p.minPosition.y};
    wp.ptMaxPosition = {p.maxPosition.x, p.maxPosition.y};
    wp.rcNormalPosition = ToRect(p.normalRect);
    ::SetWindowPlacement(window_, &wp);
}

// The store runs while the window is being shown, so a state other than the current one
// may show the window now; a hidden window that is already in the asked state stays hidden.
void PlacementWindowWin32::SetWindowState(WindowState state) {
    WindowState current = ::IsIconic(window_)   ? WindowState::Minimized
                          : ::IsZoomed(window_) ? WindowState::Maximized
                                                : WindowState::Normal;
    if (current == state) return;
    int command = state == WindowState::Maximized ? SW_SHOWMAXIMIZED
                  : state == WindowState::Minimized ? SW_SHOWMINNOACTIVE
                                                    : SW_SHOWNORMAL;
    ::ShowWindow(window_, command);
}

void PlacementWindowWin32::PostMinimizeToApplication() {
    HWND application = ApplicationWindow();
    ::PostMessageW(application ? application : window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void PlacementWindowWin32::Repaint() {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

int PlacementWindowWin32::PixelsPerInch() const {
    WindowDc screen(nullptr);
    return screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

ScreenSize PlacementWindowWin32::Screen() const {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

PlacementPoint PlacementWindowWin32::BorderMetrics(BorderMetric metric) const {
    switch (metric) {
    case BorderMetric::Border: return {::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER)};
    case BorderMetric::Frame: return {::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME)};
    case BorderMetric::DialogFrame: return {::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)};
    case BorderMetric::None: break;
    }
    return {};
}

std::vector<PlacementRect> PlacementWindowWin32::MonitorWorkAreas() const {
    std::vector<PlacementRect> result;
    for (const DisplayMonitor& monitor : DisplayMonitors()) {
        const ScreenRect& area = monitor.workArea;
        result.push_back(ToPlacementCoordinates({area.left, area.top, area.right, area.bottom}));
    }
    return result;
}

} // namespace korvan::win
