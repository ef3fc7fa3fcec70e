#pragma once
// The info window: version, what the program is, and a link to the product's web page.
#include "platform/win32/Form.h"
#include "windows/AboutDesign.h"

#include <array>

namespace korvan::win {

class TAboutfrm final : public Form<TAboutfrm> {
public:
    TAboutfrm();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void wwwaddClick();
    void Button1Click();

private:
    void FormCreate();
    void CreateControls();
    void ApplyCaptions(int captionBase);
    void Arrange(UINT dpi);
    HWND Control(const char* name) const;
    LRESULT ColourStatic(HDC dc, HWND control);
    bool SetLinkCursor(HWND under);
    HFONT FontOf(AboutKind kind) const;

    GdiObject background_;
    GdiObject font_, linkFont_, titleFont_;
    Icon icon_;
    std::array<HWND, kAboutControls.size()> controls_{};
};

} // namespace korvan::win
