#pragma once
// The info window: version, what the program is, and a link to the product's web page.
#include "platform/win32/ControlTable.h"
#include "platform/win32/Form.h"

namespace korvan::win {

class TAboutfrm final : public Form<TAboutfrm> {
public:
    TAboutfrm();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void wwwaddClick();
    void Button1Click();

private:
    void FormCreate();
    void Arrange();
    LRESULT ColourStatic(HDC dc, HWND control);

    GdiObject background_;
    GdiObject linkFont_, titleFont_;
    Icon icon_;
    HWND image1_ = nullptr;
    ControlTable controls_;
};

} // namespace korvan::win
