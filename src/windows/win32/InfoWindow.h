#pragma once
// The info window: version, what the program is, and a link to the product's web page.
#include "platform/win32/ControlTable.h"
#include "platform/win32/TopLevelWindow.h"

namespace korvan::win {

class InfoWindow final : public TopLevelWindow<InfoWindow> {
public:
    explicit InfoWindow(HWND mainWindow);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Opens centred on the main window's monitor.
    void OnShow();

private:
    void OpenProductPage();
    void OkClick();
    void CreateContents();
    void Arrange();
    LRESULT ColourStatic(HDC dc, HWND control);

    GdiObject linkFont_, titleFont_;
    Icon icon_;
    HWND mainWindow_;
    HWND iconView_ = nullptr;  // shows icon_
    ControlTable controls_;
};

} // namespace korvan::win
