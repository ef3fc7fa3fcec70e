#pragma once
// The six file types of the save dialog, in the order of its filter, and what the format
// panel offers for each.
#include <array>
#include <string_view>
#include <vector>

namespace korvan {

struct SaveFileType {
    std::wstring_view extension;                // without the dot; the system dialog adds it to a typed name
    std::vector<std::wstring_view> subFormats;  // hidden list; its first entry is what gets written
    bool offersQuality;                         // the JPEG compression box is enabled
    std::vector<int> depths;                    // the depth radio group's entries
    int fallbackDepth;                          // preselected when nothing else applies
    int format;                                 // the imaging layer's format code
    bool storesQuality;                         // false: the quality factor saved is 0
};

// Types 1 to 6; nullptr for any other index.
const SaveFileType* SaveFileTypeAt(int index);

// The system dialog's filter, exactly as the user sees it ("|" separates the parts).
inline constexpr std::wstring_view kSaveFilter =
    L"Windows Bitmap (*.bmp)|*.bmp|JPEG Format (*.jpg *.jpeg)|*.jpg;*.jpeg|"
    L"Portable Nework Graphic (*.png)|*.png|Macintosh Pict Format (*.pct)|*.pct|"
    L"Photoshop Format (*.psd)|*.psd|Encapsulated Postscript (*.eps)|*.eps";

} // namespace korvan
