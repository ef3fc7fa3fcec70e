#include "saving/AutomaticSaving.h"

#include "imaging/Status.h"
#include "saving/SaveFileTypes.h"

#include <cwctype>

namespace korvan {
namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
    if (suffix.size() > text.size()) return false;
    size_t offset = text.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::towlower(text[offset + i]) != std::towlower(suffix[i])) return false;
    return true;
}

} // namespace

std::wstring NumberedStem(const std::wstring& base, const std::wstring& extension) {
    if (!extension.empty() && EndsWithNoCase(base, L"." + extension))
        return base.substr(0, base.size() - extension.size() - 1);
    size_t nameStart = base.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = base.rfind(L'.');
    // A leading dot names a file ("\.profile"), it does not start an extension.
    if (dot != std::wstring::npos && dot > nameStart) return base.substr(0, dot);
    return base;
}

std::wstring NumberedFileName(const std::wstring& base, const std::wstring& extension, int counter) {
    return NumberedStem(base, extension) + std::to_wstring(counter) + L"." + extension;
}

AutomaticSaving::AutomaticSaving(const IFileSystem& files, ICursors& cursors) : files_(files), cursors_(cursors) {
    format_.extension = SaveFileTypeAt(kFirstFileType)->extension;
}

void AutomaticSaving::SaveCapture(ImageDocument& image) {
    if (baseName_.empty() || !image.HoldsImage()) return;
    cursors_.SetWaitCursor();
    try {
        SaveNumbered(image);
    } catch (...) {
        cursors_.SetDefaultCursor();
        throw;
    }
    cursors_.SetDefaultCursor();
}

void AutomaticSaving::SaveNumbered(ImageDocument& image) {
    const SaveSettings& s = format_.settings;
    for (;;) {
        std::wstring name = NumberedFileName(baseName_, format_.extension, ++counter_);
        if (files_.FileExists(name)) continue;
        try {
            // New-file-only: a file created by someone else since the check is never replaced.
            image.Save(name, s.format, s.bitsPerPixel, s.quality, kSaveModeNewFileOnly);
            return;
        } catch (const ImageError& error) {
            if (error.Code() != imaging::kFileExists) throw;
        }
    }
}

SaveDialogStart AutomaticSaving::DialogStart(bool onFirstType) const {
    return {baseName_, onFirstType ? 0 : fileType_, format_, 0};
}

void AutomaticSaving::Take(const SaveChoice& choice) {
    fileType_ = choice.fileType;
    format_ = choice.format;
    if (choice.path) baseName_ = *choice.path;
}

} // namespace korvan
