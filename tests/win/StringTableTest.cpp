#include "app/ToolbarLayout.h"
#include "platform/win32/StringTableWin32.h"
#include "settings/win32/OptionsControls.h"
#include "windows/win32/InfoControls.h"

#include <gtest/gtest.h>

#include <set>
#include <span>

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

// Every tagged control of the program's windows finds its texts in both languages: a
// caption (ids tag and 1000 + tag) where the caption pass reaches it, a hint (ids 2000 +
// tag and 3000 + tag) where the hint pass does, except for the controls designed without
// one. The English texts are written once, in the string table: the tables hold none for
// tagged controls.
TEST(StringTable, EveryTaggedControlHasItsGermanAndEnglishTexts) {
    const std::set<int> withoutHint = {17, 24, 25, 26, 36, 50, 52, 53};
    std::vector<Component> tagged;
    for (const ToolButtonDesign& button : kToolButtons) tagged.push_back({ControlKind::ToolButton, button.tag});
    for (std::span<const ControlDesign> table : {std::span<const ControlDesign>(options::kControls),
                                                 std::span<const ControlDesign>(info::kControls)}) {
        for (const ControlDesign& design : table) {
            if (design.tag == 0) continue;
            tagged.push_back({design.kind, design.tag});
            EXPECT_EQ(design.caption, nullptr) << "tag " << design.tag;
            EXPECT_EQ(design.hint, nullptr) << "tag " << design.tag;
        }
    }
    EXPECT_EQ(tagged.size(), 11u + 45u + 1u);  // toolbar, options, info
    StringTableWin32 strings;
    for (const Component& control : tagged) {
        SCOPED_TRACE("tag " + std::to_string(control.tag));
        if (TakesCaption(control.kind)) {
            EXPECT_FALSE(strings.Text(control.tag).empty());
            EXPECT_FALSE(strings.Text(1000 + control.tag).empty());
        }
        if (TakesHint(control.kind)) {
            bool hinted = !withoutHint.count(control.tag);
            EXPECT_EQ(!strings.Text(2000 + control.tag).empty(), hinted);
            EXPECT_EQ(!strings.Text(3000 + control.tag).empty(), hinted);
        }
    }
}

} // namespace
} // namespace korvan::win
