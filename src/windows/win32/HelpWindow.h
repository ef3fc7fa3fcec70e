#pragma once
// The help window: a short help text in a rich-text editor whose context menu saves
// the text as a rich-text file and changes the font of the selection.
#include "platform/win32/TopLevelWindow.h"

#include <string>

namespace korvan::win {

class HelpWindow final : public TopLevelWindow<HelpWindow> {
public:
    explicit HelpWindow(HWND mainWindow);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnShow();

private:
    // The context menu's two commands.
    void SaveHelpText();
    void ChangeSelectionFont();
    // Gives the selection (or the text typed next) this font, size in tenths of a point.
    void ApplyFontToSelection(const LOGFONTW& font, int pointSizeTenths, COLORREF colour);
    // The editor's whole content in rich-text format.
    std::string RichText() const;
    void CreateContents();
    void LoadHelpText();
    void CentreOnMainWindow();
    void ArrangePanel();
    void PaintPanel();
    void ShowContextMenu(LPARAM where);

    HWND mainWindow_;
    HWND editor_ = nullptr;
    GdiObject font_;
    LOGFONTW baseFont_{};
};

} // namespace korvan::win
