#pragma once
// What every save of the program passes on: the save dialog's file name, extension and
// type, and the format code, bits per pixel and quality factor chosen in it.
#include <string>

namespace korvan {

// The save dialog's name, extension and file type as its callers read and set them.
struct SaveDialogState {
    std::wstring FileName = L"myImage";
    std::wstring DefaultExt = L"bmp";
    // The file type: 1 to 6 in the order of the dialog's filter; 0 lets the dialog start
    // on its first type.
    int FilterIndex = 1;
};

// Format code, bits per pixel and quality factor of every save; chosen in the save dialog.
struct SaveSettings {
    int SaveFormat = 0;
    int SaveBits = 0;
    int SaveQuality = 0;

    bool operator==(const SaveSettings&) const = default;
};

} // namespace korvan
