#pragma once
// The format panel below the save dialog's standard controls, as data: what it offers
// for the file type shown, the depth selected and the JPEG quality; and the format it
// leaves when the dialog closes. The dialog window mirrors it and reports the user's
// clicks to it.
#include "saving/SaveChoice.h"

#include <string>
#include <vector>

namespace korvan {

struct SaveFileType;

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
    // The dialog opens: BMP's lists with a depth preselected (the last choice's, else the
    // held image's, else 24), the slider at -63, then the lists of the type it opens on.
    void Open(int fileType, const SaveFormat& last, int heldBitsPerPixel);
    // The user picked another file type: its lists, its quality box state, its
    // extension, and a depth it offers. A type outside 1 to 6 changes nothing.
    void ChangeType(int fileType);
    // The dialog closes, confirmed or cancelled: the extension, format code and depth of
    // the type shown, and the quality of the slider (0 for PNG).
    SaveFormat Close() const;

    // Moving the slider shows the new percent in the box.
    void MoveSlider(int position);
    // The user edited the box. A negative number is replaced by "0"; answers true when
    // the text was replaced, so the window shows QualityText again.
    bool EditQuality(const std::wstring& text);
    void ClickDepth(int index);

    // What the window shows. The sub-format list stays hidden: its first entry is what
    // gets written.
    const std::vector<std::wstring>& SubFormats() const { return subFormats_; }
    const std::vector<int>& Depths() const { return depths_; }
    int DepthIndex() const { return depthIndex_; }
    int SelectedDepth() const { return depthIndex_ >= 0 ? depths_[static_cast<size_t>(depthIndex_)] : 0; }
    bool QualityEnabled() const { return qualityEnabled_; }
    const std::wstring& QualityText() const { return qualityText_; }
    int SliderPosition() const { return slider_; }
    // The extension of the type shown, which the system dialog adds to a typed name.
    const std::wstring& Extension() const { return format_.extension; }

private:
    void Fill(const SaveFileType& type);
    // Selects the entry with the given depth; none when the list has no such entry.
    bool SelectDepth(int bits);
    // Index 0 shows the first type, as the system dialog does.
    int ShownType() const { return fileType_ == 0 ? 1 : fileType_; }

    int fileType_ = 0;
    // The extension of the type shown, and the settings so far: the depth preselected
    // at opening is the one the other types look for.
    SaveFormat format_;
    int heldBits_ = 0;
    std::vector<std::wstring> subFormats_;
    std::vector<int> depths_;
    int depthIndex_ = -1;
    bool qualityEnabled_ = true;
    std::wstring qualityText_;
    int slider_ = kSliderDefault;
};

} // namespace korvan
