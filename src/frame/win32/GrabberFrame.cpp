#include "frame/win32/GrabberFrame.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TForm2";

} // namespace

TForm2::TForm2() {
    ring_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(ring_.get()), nullptr);
    CreateWindowOf(kClassName, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_THICKFRAME, L"", 533, 152, 266, 137);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return HandleClose();
    return Default(message, wParam, lParam);
}

RECT TForm2::Panel2ClientRect() const {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    return {kPanelMargin, kPanelMargin, client.right - kPanelMargin, client.bottom - kPanelMargin};
}

ScreenRect TForm2::Panel2ScreenRect() const {
    RECT panel = Panel2ClientRect();
    ::MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&panel), 2);
    return {panel.left, panel.top, panel.right, panel.bottom};
}

int TForm2::Panel2Width() const {
    RECT panel = Panel2ClientRect();
    return panel.right - panel.left;
}

int TForm2::Panel2Height() const {
    RECT panel = Panel2ClientRect();
    return panel.bottom - panel.top;
}

} // namespace korvan::win
