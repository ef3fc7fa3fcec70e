// The program's windows take the colours of a theme the user switches to while they are
// open: the application window hears the system's colour change and repaints them all.
// (Under this Wine another process's SetSysColors does not reach a running program, so
// the switch is made here, in the process that shows the window.)
#include "app/win32/ApplicationWindow.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "platform/win32/ThemeWin32.h"
#include "support/win32/HighContrastColours.h"
#include "windows/win32/InfoWindow.h"

#include <gtest/gtest.h>

namespace korvan::win {
namespace {

class HighContrastOn final : public IHighContrastSetting {
public:
    bool On() const override { return true; }
};

imaging::Rgb ScreenPixel(POINT point) {
    imaging::ScreenGrabberWin32 grabber;
    imaging::Bitmap pixel;
    (void)grabber.GrabRect(0, point.x, point.y, point.x + 1, point.y + 1, pixel);
    return pixel.Empty() ? imaging::Rgb{} : pixel.PixelAt(0, 0);
}

// Pumps this thread's messages until the pixel has the colour, for up to five seconds.
bool PixelBecomes(POINT point, imaging::Rgb colour) {
    for (int attempt = 0; attempt < 250; ++attempt) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        if (ScreenPixel(point) == colour) return true;
        ::Sleep(20);
    }
    return false;
}

TEST(ProgramTheme, OpenWindowsFollowAThemeSwitch) {
    HighContrastOn highContrast;
    Theme().UseHighContrastSetting(&highContrast);
    ApplicationWindow application(L"Korvan Screenshot");
    InfoWindow info(nullptr);
    info.Show();
    POINT corner{4, 4};
    ::ClientToScreen(info.Hwnd(), &corner);
    COLORREF window = ::GetSysColor(COLOR_WINDOW);
    EXPECT_TRUE(PixelBecomes(corner, {GetRValue(window), GetGValue(window), GetBValue(window)}));

    test::SystemColourSet previous = test::ApplySystemColours(test::HighContrastBlack());
    EXPECT_TRUE(PixelBecomes(corner, {0, 0, 0})) << "high contrast black";
    test::ApplySystemColours(previous);
    EXPECT_TRUE(PixelBecomes(corner, {GetRValue(window), GetGValue(window), GetBValue(window)})) << "back";

    Theme().UseHighContrastSetting(nullptr);
    ::RedrawWindow(info.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(PixelBecomes(corner, {251, 167, 76})) << "the normal theme's window colour";
    info.Close();
}

} // namespace
} // namespace korvan::win
