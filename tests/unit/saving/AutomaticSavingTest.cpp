// Numbered names of automatic saving: the chosen name without its extension, the counter,
// the extension of the type chosen.
#include "saving/AutomaticSaving.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

// The numbered name drops the extension only when the base has one.
TEST(NumberedFileName, DropsTheDefaultExtensionInAnyCase) {
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\myImage.jpg", L"jpg", 1), L"C:\\shots\\myImage1.jpg");
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\myImage.JPG", L"jpg", 12), L"C:\\shots\\myImage12.jpg");
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\a.png", L"png", 2), L"C:\\shots\\a2.png");
}

TEST(NumberedFileName, KeepsABaseWithoutExtensionWhole) {
    EXPECT_EQ(NumberedFileName(L"myImage", L"bmp", 1), L"myImage1.bmp");
    EXPECT_EQ(NumberedFileName(L"abc", L"bmp", 1), L"abc1.bmp");
    EXPECT_EQ(NumberedFileName(L"C:\\my.shots\\image", L"bmp", 3), L"C:\\my.shots\\image3.bmp");
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\.hidden", L"bmp", 1), L"C:\\shots\\.hidden1.bmp");
}

TEST(NumberedFileName, ReplacesAnotherExtension) {
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\a.png", L"jpg", 4), L"C:\\shots\\a4.jpg");
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\a.b.tiff", L"bmp", 1), L"C:\\shots\\a.b1.bmp");
}

TEST(NumberedFileName, ANameOfOnlyTheExtensionGivesTheCounterAlone) {
    EXPECT_EQ(NumberedFileName(L".bmp", L"bmp", 1), L"1.bmp");
    EXPECT_EQ(NumberedFileName(L"C:\\shots\\.bmp", L"bmp", 7), L"C:\\shots\\7.bmp");
}

} // namespace
} // namespace korvan
