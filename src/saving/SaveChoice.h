#pragma once
// What the save dialog is opened with and what it answers: the values every save of the
// program passes on, by hand or automatic.
#include <optional>
#include <string>

namespace korvan {

// How a file is written: the imaging layer's format code, bits per pixel and quality
// factor (2 best to 255 strongest compression; 0 for PNG). All 0 until the save dialog
// has closed once.
struct SaveSettings {
    int format = 0;
    int bitsPerPixel = 0;
    int quality = 0;

    bool operator==(const SaveSettings&) const = default;
};

// The extension of a file type (without the dot) and the settings it is written with.
struct SaveFormat {
    std::wstring extension;
    SaveSettings settings;

    bool operator==(const SaveFormat&) const = default;
};

// What the save dialog opens with.
struct SaveDialogStart {
    std::wstring fileName;
    // 1 to 6 in the order of the dialog's filter; 0 opens on the first type.
    int fileType = 0;
    // The format chosen last: its depth is preselected.
    SaveFormat last;
    // Preselected when no depth has been chosen yet.
    int heldBitsPerPixel = 0;
};

// The user's answer. A cancelled dialog answers too: the format of the type and depth it
// showed when it closed still counts.
struct SaveChoice {
    std::optional<std::wstring> path;  // the confirmed file name; none after Cancel
    int fileType = 0;                  // the confirmed type; after Cancel the one it opened on
    SaveFormat format;
};

// The save dialog as its callers run it: modal, with the format panel below the system's
// controls.
class ISaveDialog {
public:
    virtual ~ISaveDialog() = default;
    virtual SaveChoice Run(const SaveDialogStart& start) = 0;
};

} // namespace korvan
