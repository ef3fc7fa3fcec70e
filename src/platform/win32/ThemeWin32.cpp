#include "platform/win32/ThemeWin32.h"

namespace korvan::win {
namespace {

Colour SystemColour(int index) {
    COLORREF colour = ::GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

GdiObject Brush(Colour colour) { return GdiObject(::CreateSolidBrush(ColourRef(colour))); }

BOOL CALLBACK TellChild(HWND child, LPARAM) {
    ::SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

BOOL CALLBACK RepaintWindow(HWND window, LPARAM) {
    ::EnumChildWindows(window, TellChild, 0);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

bool HighContrastSettingWin32::On() const {
    HIGHCONTRASTW setting{sizeof(setting)};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

COLORREF ColourRef(Colour colour) { return RGB(colour.r, colour.g, colour.b); }

ProgramTheme::ProgramTheme() { Refresh(); }

void ProgramTheme::UseHighContrastSetting(const IHighContrastSetting* setting) {
    setting_ = setting ? setting : &system_;
    Refresh();
}

bool ProgramTheme::Refresh() {
    highContrast_ = setting_->On();
    SystemColours system{SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT), SystemColour(COLOR_HOTLIGHT),
                         SystemColour(COLOR_HIGHLIGHT)};
    WindowPalette palette = ChoosePalette(highContrast_, system);
    if (background_ && palette == palette_) return false;
    palette_ = palette;
    background_ = Brush(palette.background);
    ring_ = Brush(palette.ring);
    imageMargin_ = Brush(palette.imageMargin);
    return true;
}

ProgramTheme& Theme() {
    static ProgramTheme theme;
    return theme;
}

void RepaintThreadWindows() { ::EnumThreadWindows(::GetCurrentThreadId(), RepaintWindow, 0); }

} // namespace korvan::win
