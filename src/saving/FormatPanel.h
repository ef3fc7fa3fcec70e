#pragma once
// The format panel of the save dialog as data, and the three handlers that fill it and
// take the save settings from it: on showing, on a change of file type, on closing.
// The window only mirrors this state and reports the user's clicks to it.
#include "saving/SaveSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace korvan {

// The quality slider holds the negated quality factor, -255 (strongest compression)
// to -2 (best quality); its box shows it as a percent, 0 to 100.
inline constexpr int kSliderMin = -255;
inline constexpr int kSliderMax = -2;
inline constexpr int kSliderDefault = -63;

// Round(p x 100 / 253 + 101), halves to even: -255 -> 0, -63 -> 76, -2 -> 100.
int QualityPercent(int sliderPosition);
// Trunc((percent - 101) x 0.01 x 253), kept within the slider's range.
int SliderPositionForPercent(long long percent);
// The box's text read as an integer; anything else (also an overflowing number) is 0.
long long ParseQualityText(const std::wstring& text);

class FormatPanel {
public:
    // The hidden sub-format list.
    std::vector<std::wstring> SubFormats;
    int SubFormatIndex = -1;
    bool SubFormatVisible = true;
    // The depth radio group: bits per pixel of each entry, the selected entry or -1.
    std::vector<int> Depths;
    int DepthIndex = -1;
    int Columns = 1;
    // The JPEG compression box and slider.
    bool QualityEnabled = true;
    std::wstring QualityText;

    int SliderPosition() const { return slider_; }
    // Moving the slider (by the user or from code) shows the new percent in the box.
    void MoveSlider(int position);
    // The user edited the box. A negative number is replaced by "0"; answers true when
    // the text was replaced, so the window shows QualityText again.
    bool EditQuality(const std::wstring& text);
    void ClickDepth(int index);
    int SelectedDepth() const { return DepthIndex >= 0 ? Depths[static_cast<size_t>(DepthIndex)] : 0; }
    // Selects the entry with the given depth; none when the list has no such entry.
    bool SelectDepth(int bits);

private:
    int slider_ = kSliderDefault;
};

// The main window's handlers of the save dialog's events.
class SaveDialogEvents {
public:
    SaveDialogEvents(FormatPanel& panel, SaveDialogState& dialog, SaveSettings& settings,
                  std::function<int()> heldBitsPerPixel)
        : panel_(panel), dialog_(dialog), settings_(settings), heldBits_(std::move(heldBitsPerPixel)) {}

    // Every time the dialog opens: BMP lists, depth preselected, SaveFormat 6, slider at
    // -63, then the current type's lists.
    void DialogShown();
    // For the current type: its lists, its quality box state, its default extension.
    void TypeChanged();
    // After confirming or cancelling: the save settings of the type and depth shown.
    void DialogClosed();

    // The type the dialog shows for its type index: index 0 starts on the first type.
    int ShownType() const { return dialog_.FilterIndex == 0 ? 1 : dialog_.FilterIndex; }

private:
    FormatPanel& panel_;
    SaveDialogState& dialog_;
    SaveSettings& settings_;
    std::function<int()> heldBits_;
};

} // namespace korvan
