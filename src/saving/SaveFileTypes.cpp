#include "saving/SaveFileTypes.h"

#include "imaging/ImageFile.h"

namespace korvan {
namespace {

const std::array<SaveFileType, 6>& Types() {
    // In the filter's order: Windows BMP, JPEG, PNG, Macintosh PICT, Photoshop, Encapsulated PostScript.
    static const std::array<SaveFileType, 6> types{{
        {L"bmp", {L"uncompressed", L"RLE compression"}, false, {1, 4, 8, 16, 24, 32}, 24, imaging::kFormatBmp, true},
        {L"jpg", {L"YUV 4:4:4", L"YUV 4:2:2", L"YUV 4:1:1", L"Lossless"}, true, {8, 24}, 24, imaging::kFormatJpeg,
         true},
        {L"png", {}, false, {1, 4, 8, 24}, 24, imaging::kFormatPng, false},
        {L"pct", {}, false, {1, 4, 8, 24}, 8, imaging::kFormatPict, true},
        {L"psd", {}, false, {1, 8, 24}, 8, imaging::kFormatPsd, true},
        {L"eps", {}, false, {8}, 8, imaging::kFormatEps, true},
    }};
    return types;
}

} // namespace

const SaveFileType* SaveFileTypeAt(int index) {
    if (index < 1 || index > static_cast<int>(Types().size())) return nullptr;
    return &Types()[static_cast<size_t>(index - 1)];
}

} // namespace korvan
