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
    qualityText_ = std::to_wstring(QualityPercent(slider_));
}

bool FormatPanel::EditQuality(const std::wstring& text) {
    long long value = ParseQualityText(text);
    bool replaced = value < 0;
    if (replaced) value = 0;
    qualityText_ = replaced ? L"0" : text;
    slider_ = SliderPositionForPercent(value);
    return replaced;
}

void FormatPanel::ClickDepth(int index) {
    if (index >= 0 && index < static_cast<int>(depths_.size())) depthIndex_ = index;
}

bool FormatPanel::SelectDepth(int bits) {
    auto found = std::find(depths_.begin(), depths_.end(), bits);
    depthIndex_ = found == depths_.end() ? -1 : static_cast<int>(found - depths_.begin());
    return depthIndex_ >= 0;
}

void FormatPanel::Fill(const SaveFileType& type) {
    subFormats_.assign(type.subFormats.begin(), type.subFormats.end());
    depths_ = type.depths;
}

void FormatPanel::Open(int fileType, const SaveFormat& last, int heldBitsPerPixel) {
    format_ = last;
    heldBits_ = heldBitsPerPixel;
    const SaveFileType& bmp = *SaveFileTypeAt(1);
    Fill(bmp);
    SaveSettings& settings = format_.settings;
    if (settings.bitsPerPixel > 0) SelectDepth(settings.bitsPerPixel);
    else if (!SelectDepth(heldBits_)) SelectDepth(bmp.fallbackDepth);
    if (depthIndex_ >= 0) settings.bitsPerPixel = SelectedDepth();
    settings.format = bmp.format;
    MoveSlider(kSliderDefault);
    qualityEnabled_ = false;
    ChangeType(fileType);
}

void FormatPanel::ChangeType(int fileType) {
    fileType_ = fileType;
    const SaveFileType* type = SaveFileTypeAt(ShownType());
    if (!type) return;
    Fill(*type);
    qualityEnabled_ = type->offersQuality;
    format_.extension = type->extension;
    int bits = format_.settings.bitsPerPixel;
    int wanted = bits > 0 ? bits : heldBits_;
    // A depth this type does not offer would leave nothing selected and every later save
    // failing; the type's own fallback is selected instead, visibly.
    if (!SelectDepth(wanted)) SelectDepth(type->fallbackDepth);
}

SaveFormat FormatPanel::Close() const {
    SaveFormat closed = format_;
    SaveSettings& settings = closed.settings;
    settings.quality = -slider_;
    const SaveFileType* type = SaveFileTypeAt(ShownType());
    if (!type) return closed;
    settings.bitsPerPixel = depthIndex_ >= 0 ? SelectedDepth() : type->fallbackDepth;
    settings.format = type->format;
    if (!type->storesQuality) settings.quality = 0;
    return closed;
}

} // namespace korvan
