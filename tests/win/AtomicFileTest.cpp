// Files are written beside the target and moved into place only when complete.
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "support/win32/WinePath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

namespace korvan::imaging {
namespace {

std::filesystem::path Folder(const char* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    auto folder = std::filesystem::path(temp) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

Bitmap Pixel() {
    Bitmap bitmap;
    EXPECT_EQ(Bitmap::Create(bitmap, 1, 1, 24), kSuccess);
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

// Names Windows refuses are told as invalid names before anything is created (the file
// system alone would answer a device, a stream or an open failure).
TEST(SaveBitmapFileWin32, NamesWindowsRefusesCreateNothing) {
    auto folder = Folder("korvan-atomic-names");
    for (const wchar_t* name : {L"a?b.bmp", L"CON.bmp", L"con.txt", L"LPT1", L"name.", L"name ", L"a:b.bmp"})
        EXPECT_EQ(SaveBitmapFile(folder.wstring() + L"\\" + name, Pixel(), kFormatBmp, 24, 0), kInvalidFilename) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 0);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace korvan::imaging

namespace korvan::imaging {
namespace {

std::string CauseOf(const std::filesystem::path& target) {
    return WriteBitmapFile(target, Pixel(), kFormatBmp, 24, 0).cause;
}

size_t Entries(const std::filesystem::path& folder) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

// Paths beyond the classic 260 characters are written like any other.
TEST(SaveBitmapFileWin32, APathLongerThan260CharactersIsSaved) {
    auto folder = Folder("korvan-atomic-long");
    std::wstring deep = folder.wstring();
    for (int i = 0; i < 5; ++i) deep += L"\\" + std::wstring(70, static_cast<wchar_t>(L'a' + i));
    std::wstring level = L"\\\\?\\" + folder.wstring();
    for (int i = 0; i < 5; ++i) {
        level += L"\\" + std::wstring(70, static_cast<wchar_t>(L'a' + i));
        ::CreateDirectoryW(level.c_str(), nullptr);
    }
    std::wstring target = deep + L"\\shot.bmp";
    ASSERT_GT(target.size(), 300u);
    EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0), kSuccess);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW((L"\\\\?\\" + target).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 58u);
    EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0, {true}), kFileExists);
    std::error_code ec;
    std::filesystem::remove_all(L"\\\\?\\" + folder.wstring(), ec);
}

// A read-only file is not replaced; the system's reason comes back and no temporary file stays.
TEST(SaveBitmapFileWin32, AReadOnlyFileStaysAsItWas) {
    auto folder = Folder("korvan-atomic-readonly");
    auto target = folder / "locked.bmp";
    std::ofstream(target) << "old";
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0), kErrorWriting);
    EXPECT_FALSE(CauseOf(target).empty());
    EXPECT_EQ(std::filesystem::file_size(target), 3u);
    EXPECT_EQ(Entries(folder), 1u);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(folder);
}

// A file another program holds open without sharing is not destroyed.
TEST(SaveBitmapFileWin32, AFileHeldOpenIsNotDestroyed) {
    auto folder = Folder("korvan-atomic-held");
    auto target = folder / "held.bmp";
    std::ofstream(target) << "old";
    HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveFileResult result = WriteBitmapFile(target, Pixel(), kFormatBmp, 24, 0);
    ::CloseHandle(held);
    if (result.status == kSuccess) {
        // The system let the name be replaced under the open handle: the new file is whole.
        EXPECT_EQ(std::filesystem::file_size(target), 58u);
    } else {
        EXPECT_EQ(result.status, kErrorWriting);
        EXPECT_FALSE(result.cause.empty());
        EXPECT_EQ(std::filesystem::file_size(target), 3u);
    }
    EXPECT_EQ(Entries(folder), 1u);
    std::filesystem::remove_all(folder);
}

// A name of up to 255 characters saves; the temporary name beside it is short.
TEST(SaveBitmapFileWin32, NamesUpToTheLongestSave) {
    auto folder = Folder("korvan-atomic-longnames");
    for (size_t length : {236, 255}) {
        // ASCII: under Wine the name is also a Linux name, which has room for 255 bytes.
        auto target = folder / (std::wstring(length - 4, L'n') + L".bmp");
        EXPECT_EQ(SaveBitmapFile(target, Pixel(), kFormatBmp, 24, 0), kSuccess) << length;
        EXPECT_TRUE(std::filesystem::exists(target)) << length;
    }
    EXPECT_EQ(Entries(folder), 2u);
    std::filesystem::remove_all(folder);
}

// A temporary file a crash left behind goes at the next save into its folder; one another
// save is still writing (open, shared only for the move) stays, and so do other files.
TEST(SaveBitmapFileWin32, LeftoversOfACrashGoAtTheNextSave) {
    auto folder = Folder("korvan-atomic-leftovers");
    for (const char* name : {"~korvan-0123456789abcdef.tmp", "~korvan-notes.tmp", "~korvan-0123456789abcdef.tmp.bak"})
        std::ofstream(folder / name) << "left";
    HANDLE writing = ::CreateFileW((folder / "~korvan-00000000000000cc.tmp").c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writing, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveBitmapFile(folder / "shot1.bmp", Pixel(), kFormatBmp, 24, 0), kSuccess);
    EXPECT_FALSE(std::filesystem::exists(folder / "~korvan-0123456789abcdef.tmp"));
    EXPECT_TRUE(std::filesystem::exists(folder / "~korvan-notes.tmp"));
    EXPECT_TRUE(std::filesystem::exists(folder / "~korvan-0123456789abcdef.tmp.bak"));
    EXPECT_TRUE(std::filesystem::exists(folder / "~korvan-00000000000000cc.tmp"));
    ::CloseHandle(writing);
    EXPECT_EQ(SaveBitmapFile(folder / "shot2.bmp", Pixel(), kFormatBmp, 24, 0), kSuccess);
    EXPECT_FALSE(std::filesystem::exists(folder / "~korvan-00000000000000cc.tmp"));
    EXPECT_EQ(Entries(folder), 4u);
    std::filesystem::remove_all(folder);
}

// A folder that does not exist comes with the system's reason.
TEST(SaveBitmapFileWin32, AMissingFolderTellsWhy) {
    auto folder = Folder("korvan-atomic-why");
    EXPECT_FALSE(CauseOf(folder / "no" / "such.bmp").empty());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace korvan::imaging

namespace korvan::imaging {
namespace {

// A disk that fills up while the file is written: the save fails with the system's
// reason, the file already there stays whole, and no temporary file is left. The small
// file system is mounted on the Linux side (KORVAN_SMALL_DISK).
TEST(SaveOnAFullDisk, FailsAndKeepsTheOldFile) {
    std::wstring folder = test::PathFromEnvironment(L"KORVAN_SMALL_DISK");
    if (folder.empty()) GTEST_SKIP() << "no small disk was arranged";
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no small disk could be mounted";
    auto target = std::filesystem::path(folder) / "shot.bmp";
    std::ofstream(target) << "old";
    Bitmap large;
    ASSERT_EQ(Bitmap::Create(large, 200, 200, 24), kSuccess);  // 120 KB as BMP, the disk holds 64
    SaveFileResult result = WriteBitmapFile(target, large, kFormatBmp, 24, 0);
    EXPECT_EQ(result.status, kErrorWriting);
    EXPECT_FALSE(result.cause.empty());
    EXPECT_EQ(std::filesystem::file_size(target), 3u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::filesystem::remove(target);
}

} // namespace
} // namespace korvan::imaging
