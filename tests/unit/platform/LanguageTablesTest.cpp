#include "platform/LanguageTables.h"

#include <gtest/gtest.h>

#include <map>

namespace korvan {
namespace {

class FakeStrings final : public IStringTable {
public:
    std::wstring Text(int id) const override {
        auto found = texts.find(id);
        return found == texts.end() ? std::wstring() : found->second;
    }
    std::map<int, std::wstring> texts;
};

TEST(LanguageTables, GermanOnlyForGermanyAustriaAndSwitzerland) {
    struct Case {
        uint16_t language;
        bool german;
    };
    for (Case c : {Case{0x0407, true}, Case{0x0807, true}, Case{0x0C07, true}, Case{0x1007, false},
                   Case{0x1407, false}, Case{0x0007, false}, Case{0x0409, false}, Case{0x0809, false}}) {
        EXPECT_EQ(IsGermanSystem(c.language), c.german) << std::hex << c.language;
        LanguageBases bases = LanguageBases::For(c.language);
        EXPECT_EQ(bases.caption, c.german ? 0 : 1000);
        EXPECT_EQ(bases.hint, c.german ? 2000 : 3000);
    }
}

TEST(LanguageTables, EachPassTouchesOnlyItsKinds) {
    struct Case {
        ControlKind kind;
        bool caption, hint;
    };
    const Case cases[] = {
        {ControlKind::Label, true, false},        {ControlKind::Button, true, true},
        {ControlKind::BitmapButton, true, true},  {ControlKind::RadioButton, true, true},
        {ControlKind::CheckBox, true, true},      {ControlKind::TabSheet, true, true},
        {ControlKind::GroupBox, true, true},      {ControlKind::RadioGroup, true, true},
        {ControlKind::MenuItem, true, false},     {ControlKind::SpeedButton, true, false},
        {ControlKind::ToolButton, false, true},   {ControlKind::ComboBox, false, false},
        {ControlKind::HotKey, false, false},      {ControlKind::Edit, false, false},
        {ControlKind::PageControl, false, false}, {ControlKind::Panel, false, false},
    };
    FakeStrings strings;
    strings.texts = {{1005, L"caption"}, {3005, L"hint"}};
    LanguageTables tables(strings);
    ComponentSet window;
    for (const Case& c : cases) window.components.push_back({c.kind, 5, L"designed", L"designed hint"});
    tables.Register(window);
    tables.Apply(LanguageBases{1000, 3000});
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(window.components[i].caption, cases[i].caption ? L"caption" : L"designed") << i;
        EXPECT_EQ(window.components[i].hint, cases[i].hint ? L"hint" : L"designed hint") << i;
    }
}

TEST(LanguageTables, UntaggedKeepsDesignMissingTextEmptiesTextsKeptWhole) {
    FakeStrings strings;
    std::wstring longHint(354, L'x');
    longHint += L" \n";
    strings.texts = {{24, L"OK"}, {2002, longHint}, {2036, L""}};
    LanguageTables tables(strings);
    ComponentSet window;
    window.components = {{ControlKind::Button, 0, L"Design", L"Designed hint"},
                         {ControlKind::Button, 24, L"Ok", L"Ok hint"},
                         {ControlKind::ToolButton, 2, L"", L"short"},
                         {ControlKind::Button, 36, L"Default", L"x"}};
    tables.Apply(LanguageBases{0, 2000});
    EXPECT_EQ(window.components[1].caption, L"Ok") << "not registered yet: untouched";
    tables.Register(window);
    tables.Apply(LanguageBases{0, 2000});
    EXPECT_EQ(window.components[0].caption, L"Design");
    EXPECT_EQ(window.components[0].hint, L"Designed hint");
    EXPECT_EQ(window.components[1].caption, L"OK");
    EXPECT_EQ(window.components[1].hint, L"") << "id 2024 has no text";
    EXPECT_EQ(window.components[2].hint, longHint);
    EXPECT_EQ(window.components[3].caption, L"");
    EXPECT_EQ(window.components[3].hint, L"");
}

TEST(LanguageTables, PassesCoverRegisteredWindowsInOrderAndTellThem) {
    FakeStrings strings;
    strings.texts = {{1037, L"left"}};
    LanguageTables tables(strings);
    std::vector<int> told;
    ComponentSet first, second, gone;
    first.textsChanged = [&] { told.push_back(1); };
    second.textsChanged = [&] { told.push_back(2); };
    gone.textsChanged = [&] { told.push_back(3); };
    for (ComponentSet* set : {&first, &second, &gone}) set->components = {{ControlKind::Label, 37, L"?", L""}};
    tables.Register(first);
    tables.Register(gone);
    tables.Register(second);
    tables.Register(first);
    tables.Unregister(gone);
    tables.Apply(LanguageBases{1000, 3000});
    EXPECT_EQ(told, (std::vector<int>{1, 2}));
    EXPECT_EQ(second.components[0].caption, L"left");
    EXPECT_EQ(gone.components[0].caption, L"?");
}

} // namespace
} // namespace korvan
