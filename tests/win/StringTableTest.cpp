#include "platform/win32/StringTableWin32.h"

#include <gtest/gtest.h>

namespace korvan::win {
namespace {

// The test program links the program's string table.
TEST(StringTable, TextsWholeWithLineBreaksTrailingBlanksAndUmlauts) {
    StringTableWin32 strings;
    std::wstring frameHint = strings.Text(3002);
    EXPECT_EQ(frameHint.size(), 354u) << "longer than 254 characters and still whole";
    EXPECT_TRUE(frameHint.ends_with(L"otherwise the 'print screen' button\ncapture the desktop. \n\nUse 'ctrl+v' in your "
                                    L"application to insert the captured image!"));
    EXPECT_EQ(strings.Text(3051), L"Gives you some small help. ");
    EXPECT_EQ(strings.Text(2022), L"Kopiert das Bild direkt in Ihre Applikation,\\welche Sie hier w\u00e4hlen k\u00f6nnen.");
    EXPECT_EQ(strings.Text(14), L"Toolbargr\u00f6\u00dfe 32 x 32");
    EXPECT_EQ(strings.Text(1024), L"Ok");
    EXPECT_FALSE(strings.Text(2009).empty());
    EXPECT_FALSE(strings.Text(3009).empty());
}

TEST(StringTable, MissingIdsGiveEmptyTexts) {
    StringTableWin32 strings;
    for (int id : {2024, 3024, 2036, 3036, 1037 + 2000, 0, 999, 4000}) EXPECT_EQ(strings.Text(id), L"") << id;
}

} // namespace
} // namespace korvan::win
