#pragma once
// Automatic saving: after every capture, while the option is on, the image is written
// under the next free numbered name of the name last chosen in the save dialog
// (C:\shots\a.png gives a1.png, a2.png, ...), with the format chosen there. One counter
// numbers the files of the whole run; no file is ever replaced.
#include "image/ImageDocument.h"
#include "platform/SystemPorts.h"
#include "saving/SaveChoice.h"

#include <string>

namespace korvan {

// The stem of a numbered name: the base without "." + extension (any letter case) or,
// failing that, without whatever extension its file name has; a base without an
// extension is kept whole ("myImage" stays "myImage").
std::wstring NumberedStem(const std::wstring& base, const std::wstring& extension);

// stem + counter + "." + extension, e.g. C:\shots\myImage3.jpg.
std::wstring NumberedFileName(const std::wstring& base, const std::wstring& extension, int counter);

// What the capture commands ask of automatic saving.
class IAutomaticSaving {
public:
    virtual ~IAutomaticSaving() = default;
    // Writes the image under the next free numbered name, the wait cursor showing
    // meanwhile; nothing without a chosen name or without an image.
    virtual void SaveCapture(ImageDocument& image) = 0;
};

// Holds what the save dialog chose last (name, file type, format) and the counter.
class AutomaticSaving final : public IAutomaticSaving {
public:
    AutomaticSaving(const IFileSystem& files, ICursors& cursors);

    void SaveCapture(ImageDocument& image) override;

    // The save dialog opens with the chosen name, type and format; on the first type when
    // asked to.
    SaveDialogStart DialogStart(bool onFirstType) const;
    // The dialog's answer: its file type and format count even after Cancel; a confirmed
    // name becomes the base of the numbered names.
    void Take(const SaveChoice& choice);
    // Until a name is chosen again nothing is written.
    void ForgetName() { baseName_.clear(); }

    // The save dialog's name and type before anything was chosen.
    static constexpr wchar_t kFirstFileName[] = L"myImage";
    static constexpr int kFirstFileType = 1;

private:
    void SaveNumbered(ImageDocument& image);

    const IFileSystem& files_;
    ICursors& cursors_;
    std::wstring baseName_ = kFirstFileName;
    int fileType_ = kFirstFileType;
    SaveFormat format_;
    int counter_ = 0;
};

} // namespace korvan
