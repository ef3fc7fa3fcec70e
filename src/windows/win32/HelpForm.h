#pragma once
// The help window: a short help text in a rich-text editor whose context menu saves
// the text as a rich-text file and changes the font of the selection.
#include "platform/win32/Form.h"

#include <string>

namespace korvan::win {

class Thelpfrm final : public Form<Thelpfrm> {
public:
    explicit Thelpfrm(HWND mainWindow);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Save1Click();
    void Format1Click();
    // Gives the selection (or the text typed next) this font, size in tenths of a point.
    void ApplyFontToSelection(const LOGFONTW& font, int pointSizeTenths, COLORREF colour);
    HWND RichEdit1() const { return richEdit1_; }
    // The editor's whole content in rich-text format.
    std::string RichText() const;

    void FormShow();

    static constexpr int kPopupSave = 1, kPopupFormat = 2;

private:
    void FormCreate();
    void LoadHelpText();
    void CentreOnMainWindow();
    void ArrangePanel();
    void PaintPanel();
    void PopupMenu1Show(LPARAM where);

    HWND mainWindow_;
    HWND richEdit1_ = nullptr;
    GdiObject font_;
    LOGFONTW baseFont_{};
};

} // namespace korvan::win
