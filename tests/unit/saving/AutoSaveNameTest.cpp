#include "saving/AutoSaveName.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

// The numbered name drops the extension only when the base has one.
TEST(AutoSaveFileName, DropsTheDefaultExtensionInAnyCase) {
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\myImage.jpg", L"jpg", 1), L"C:\\shots\\myImage1.jpg");
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\myImage.JPG", L"jpg", 12), L"C:\\shots\\myImage12.jpg");
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\a.png", L"png", 2), L"C:\\shots\\a2.png");
}

TEST(AutoSaveFileName, KeepsABaseWithoutExtensionWhole) {
    EXPECT_EQ(AutoSaveFileName(L"myImage", L"bmp", 1), L"myImage1.bmp");
    EXPECT_EQ(AutoSaveFileName(L"abc", L"bmp", 1), L"abc1.bmp");
    EXPECT_EQ(AutoSaveFileName(L"C:\\my.shots\\image", L"bmp", 3), L"C:\\my.shots\\image3.bmp");
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\.hidden", L"bmp", 1), L"C:\\shots\\.hidden1.bmp");
}

TEST(AutoSaveFileName, ReplacesAnotherExtension) {
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\a.png", L"jpg", 4), L"C:\\shots\\a4.jpg");
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\a.b.tiff", L"bmp", 1), L"C:\\shots\\a.b1.bmp");
}

TEST(AutoSaveFileName, ANameOfOnlyTheExtensionGivesTheCounterAlone) {
    EXPECT_EQ(AutoSaveFileName(L".bmp", L"bmp", 1), L"1.bmp");
    EXPECT_EQ(AutoSaveFileName(L"C:\\shots\\.bmp", L"bmp", 7), L"C:\\shots\\7.bmp");
}

} // namespace
} // namespace korvan
