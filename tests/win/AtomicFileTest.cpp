// Files are written beside the target and moved into place only when complete.
#include "engine/ImageFile.h"
#include "engine/SdkStatus.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

namespace korvan::sdk {
namespace {

std::filesystem::path Folder(const char* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    auto folder = std::filesystem::path(temp) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

SdkBitmap Pixel() {
    SdkBitmap bitmap;
    EXPECT_EQ(SdkBitmap::Create(bitmap, 1, 1, 24), kSuccess);
    return bitmap;
}

TEST(SaveBitmapFileWin32, ReplacesOrRefusesAnExistingFileAndLeavesNoTemporaryFile) {
    auto folder = Folder("korvan-atomic");
    auto target = folder / L"B\u00e4r \u5199\u771f.bmp";  // any characters in the name
    std::ofstream(target) << "old";
    EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0, {true}), kFileExists);
    EXPECT_EQ(std::filesystem::file_size(target), 3u);
    EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0), kSuccess);
    EXPECT_EQ(std::filesystem::file_size(target), 58u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove_all(folder);
}

TEST(SaveBitmapFileWin32, AMissingFolderCannotBeOpened) {
    auto folder = Folder("korvan-atomic-missing");
    EXPECT_EQ(SaveBitmapFile(folder / "no" / "such.bmp", Pixel(), kFormatBmp, 24, 0), kCannotOpenFile);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace korvan::sdk
