#include "saving/FormatPanel.h"

#include "imaging/Rounding.h"
#include "saving/SaveFileTypes.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace korvan {

int QualityPercent(int sliderPosition) {
    return static_cast<int>(RoundHalfEven(sliderPosition * 100.0 / 253.0 + 101.0));
}

int SliderPositionForPercent(long long percent) {
    double position = std::trunc((static_cast<double>(percent) - 101.0) * 0.01 * 253.0);
    return static_cast<int>(std::clamp(position, double{kSliderMin}, double{kSliderMax}));
}

long long ParseQualityText(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    size_t end = text.size();
    while (end > i && std::iswspace(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    if (i == end) return 0;
    long long value = 0;
    for (; i < end; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return 0;
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL) return 0;  // not a 32-bit integer
    }
    if (!negative && value > 2147483647LL) return 0;
    return negative ? -value : value;
}

void FormatPanel::MoveSlider(int position) {
    slider_ = std::clamp(position, kSliderMin, kSliderMax);
    QualityText = std::to_wstring(QualityPercent(slider_));
}

bool FormatPanel::EditQuality(const std::wstring& text) {
    long long value = ParseQualityText(text);
    bool replaced = value < 0;
    if (replaced) value = 0;
    QualityText = replaced ? L"0" : text;
    slider_ = SliderPositionForPercent(value);
    return replaced;
}

void FormatPanel::ClickDepth(int index) {
    if (index >= 0 && index < static_cast<int>(Depths.size())) DepthIndex = index;
}

bool FormatPanel::SelectDepth(int bits) {
    auto found = std::find(Depths.begin(), Depths.end(), bits);
    DepthIndex = found == Depths.end() ? -1 : static_cast<int>(found - Depths.begin());
    return DepthIndex >= 0;
}

namespace {

void Fill(FormatPanel& panel, const SaveFileType& type) {
    panel.SubFormats.assign(type.subFormats.begin(), type.subFormats.end());
    panel.SubFormatIndex = panel.SubFormats.empty() ? -1 : 0;
    panel.Depths = type.depths;
    panel.Columns = 6;
}

} // namespace

void SaveDialogEvents::DialogShown() {
    const SaveFileType& bmp = *SaveFileTypeAt(1);
    Fill(panel_, bmp);
    panel_.SubFormatVisible = false;
    if (settings_.SaveBits > 0) panel_.SelectDepth(settings_.SaveBits);
    else if (!panel_.SelectDepth(heldBits_())) panel_.SelectDepth(bmp.fallbackDepth);
    if (panel_.DepthIndex >= 0) settings_.SaveBits = panel_.SelectedDepth();
    settings_.SaveFormat = bmp.format;
    panel_.MoveSlider(kSliderDefault);
    panel_.QualityEnabled = false;
    TypeChanged();
}

void SaveDialogEvents::TypeChanged() {
    const SaveFileType* type = SaveFileTypeAt(ShownType());
    if (!type) return;
    Fill(panel_, *type);
    panel_.QualityEnabled = type->quality;
    dialog_.DefaultExt = type->defaultExt;
    int wanted = settings_.SaveBits > 0 ? settings_.SaveBits : heldBits_();
    // A depth this type does not offer would leave nothing selected and every later save
    // failing; the type's own fallback is selected instead, visibly.
    if (!panel_.SelectDepth(wanted)) panel_.SelectDepth(type->fallbackDepth);
}

void SaveDialogEvents::DialogClosed() {
    settings_.SaveQuality = -panel_.SliderPosition();
    const SaveFileType* type = SaveFileTypeAt(ShownType());
    if (!type) return;
    settings_.SaveBits = panel_.DepthIndex >= 0 ? panel_.SelectedDepth() : type->fallbackDepth;
    settings_.SaveFormat = type->format;
    if (!type->storesQuality) settings_.SaveQuality = 0;
}

} // namespace korvan
