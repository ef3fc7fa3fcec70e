#include "app/win32/ApplicationWindow.h"

#include "app/win32/InstanceLock.h"
#include "platform/win32/ThemeWin32.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"KorvanScreenshotApplication";
constexpr UINT kActivateLastWindow = WM_APP + 1;
constexpr UINT kRunPosted = WM_APP + 2;

} // namespace

ApplicationWindow::ApplicationWindow(const wchar_t* title) {
    RegisterClassOnce(kClassName, 0, nullptr, ProgramIcon());
    // A captioned popup of no size: listed by the task bar, never drawn.
    CreateWindowOf(kClassName, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, title,
                   ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0);
    // The task bar and Alt+Tab ask the window for its icon.
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon()));
    SetApplicationHandle(Hwnd());
}

ApplicationWindow::~ApplicationWindow() { SetApplicationHandle(nullptr); }

void ApplicationWindow::Show() { ::ShowWindow(Hwnd(), SW_SHOWNA); }

void ApplicationWindow::Post(std::function<void()> work) {
    posted_.push_back(std::move(work));
    ::PostMessageW(Hwnd(), kRunPosted, 0, 0);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BringForwardMessage()) {
        BringForward();
        return 0;
    }
    switch (message) {
    case WM_ACTIVATE:
        // Chosen in the task bar or with Alt+Tab: the window the user worked in takes over.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) ::PostMessageW(Hwnd(), kActivateLastWindow, 0, 0);
        return 0;
    case WM_SIZE:
        // The other windows leave with a minimised application and come back with it.
        if (wParam == SIZE_MINIMIZED) {
            minimized_ = true;
            ::ShowOwnedPopups(Hwnd(), FALSE);
        } else if (minimized_) {
            minimized_ = false;
            ::ShowOwnedPopups(Hwnd(), TRUE);
        }
        return 0;
    case kActivateLastWindow: ActivateLastWindow(); return 0;
    // The user switched the theme (high contrast on or off, other colours): every window
    // takes the colours of the new one.
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        if (message == WM_SYSCOLORCHANGE || wParam == SPI_SETHIGHCONTRAST) {
            Theme().Refresh();
            RepaintThreadWindows();
        }
        return Default(message, wParam, lParam);
    case kRunPosted:
        if (!posted_.empty()) {
            std::function<void()> work = std::move(posted_.front());
            posted_.pop_front();
            work();
        }
        return 0;
    case WM_CLOSE:
        if (main_) ::PostMessageW(main_, WM_CLOSE, 0, 0);
        return 0;
    case WM_QUERYENDSESSION:
        if (sessionAsked_) sessionAsked_();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && sessionEnding_) sessionEnding_();
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

void ApplicationWindow::ActivateLastWindow() {
    if (::GetActiveWindow() != Hwnd() || ::IsIconic(Hwnd())) return;
    HWND last = LastWindow();
    if (last && ::IsWindowVisible(last)) ::SetActiveWindow(last);
}

HWND ApplicationWindow::LastWindow() const {
    HWND last = ::GetLastActivePopup(Hwnd());
    if (last == Hwnd() || !::IsWindowVisible(last) || !::IsWindowEnabled(last)) last = main_;
    return last;
}

void ApplicationWindow::BringForward() {
    if (::IsIconic(Hwnd())) ::ShowWindow(Hwnd(), SW_RESTORE);
    HWND last = LastWindow();
    if (!last || !::IsWindowVisible(last)) return;
    ::SetWindowPos(last, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(last);
}

} // namespace korvan::win
