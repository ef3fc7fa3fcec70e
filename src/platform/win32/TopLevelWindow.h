#pragma once
// A top-level window of the program: created once, shown and closed (hidden) many times.
#include "platform/SystemPorts.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ThemeWin32.h"
#include "platform/win32/WindowBase.h"

namespace korvan::win {

template <typename Derived> class TopLevelWindow : public WindowBase<Derived>, public IWindowView {
public:
    bool Visible() const override { return this->Hwnd() && ::IsWindowVisible(this->Hwnd()); }
    void Show() override {
        static_cast<Derived*>(this)->OnShow();
        ::ShowWindow(this->Hwnd(), SW_SHOW);
    }
    void Close() override {
        static_cast<Derived*>(this)->OnClose();
        ::ShowWindow(this->Hwnd(), SW_HIDE);
    }
    void BringToFront() override {
        ::SetWindowPos(this->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetForegroundWindow(this->Hwnd());
    }
    void ShowWithoutActivating() override {
        static_cast<Derived*>(this)->OnShow();
        ::ShowWindow(this->Hwnd(), SW_SHOWNOACTIVATE);
        ::SetWindowPos(this->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

protected:
    // Hooks run before showing and hiding; the defaults do nothing.
    void OnShow() {}
    void OnClose() {}

    // Closing by the close box only hides the window.
    LRESULT HandleClose() {
        Close();
        return 0;
    }

    // Erases with the program's window colour as the theme has it now (orange, or the
    // system's window colour in high contrast).
    LRESULT EraseWithWindowColour(WPARAM dc) {
        RECT client{};
        ::GetClientRect(this->Hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(dc), &client, Theme().Background());
        return 1;
    }
};

} // namespace korvan::win
