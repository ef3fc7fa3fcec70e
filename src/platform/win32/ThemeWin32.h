#pragma once
// The program's window colours under the system's current theme, with brushes to paint
// them. Windows paint from here; the application window refreshes it when the system's
// colours or its high-contrast state change, then repaints every window.
#include "platform/WindowColours.h"
#include "platform/win32/Handles.h"

#include <windows.h>

namespace korvan::win {

class HighContrastSettingWin32 final : public IHighContrastSetting {
public:
    bool On() const override;
};

class ProgramTheme {
public:
    ProgramTheme();
    // Another source of the high-contrast state (a build of the program for tests, where
    // the system cannot switch it on); it must outlive the theme's use. nullptr: the
    // system's own again.
    void UseHighContrastSetting(const IHighContrastSetting* setting);
    // Reads the system's colours and high-contrast state again; answers whether the
    // palette changed.
    bool Refresh();

    const WindowPalette& Palette() const { return palette_; }
    bool HighContrast() const { return highContrast_; }
    HBRUSH Background() const { return static_cast<HBRUSH>(background_.get()); }
    HBRUSH Ring() const { return static_cast<HBRUSH>(ring_.get()); }
    HBRUSH ImageMargin() const { return static_cast<HBRUSH>(imageMargin_.get()); }

private:
    HighContrastSettingWin32 system_;
    const IHighContrastSetting* setting_ = &system_;
    bool highContrast_ = false;
    WindowPalette palette_{};
    GdiObject background_, ring_, imageMargin_;
};

// The one theme of the process.
ProgramTheme& Theme();
COLORREF ColourRef(Colour colour);
// After a theme change: the common controls of every window of this thread learn the new
// system colours, and every window is painted again, frames included.
void RepaintThreadWindows();

} // namespace korvan::win
