#pragma once
// Pictures that Windows-side tests keep for people to look at, in the folder
// KORVAN_ARTIFACTS names (nothing is kept when it is unset).
#include "imaging/Bitmap.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "support/win32/WinePath.h"

#include <filesystem>
#include <string>

namespace korvan::test {

// Saves the picture as NAME.png there (as NAME.bmp should the PNG fail).
inline void SaveArtifactPicture(const imaging::Bitmap& picture, const std::string& name) {
    std::wstring folder = PathFromEnvironment(L"KORVAN_ARTIFACTS");
    if (folder.empty() || picture.Empty()) return;
    std::filesystem::path directory(folder);
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (imaging::SaveBitmapFile(directory / (name + ".png"), picture, imaging::kFormatPng, 24, 0) != imaging::kSuccess)
        (void)imaging::SaveBitmapFile(directory / (name + ".bmp"), picture, imaging::kFormatBmp, 24, 0);
}

} // namespace korvan::test
