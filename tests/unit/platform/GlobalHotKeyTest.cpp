#include "unit/platform/FakeHotKeySystem.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using test::FakeHotKeySystem;
using Calls = std::vector<std::string>;

// Construction: a unique atom and a hidden window per instance, nothing registered.
TEST(GlobalHotKey, StartsActiveWithoutAKey) {
    FakeHotKeySystem system;
    GlobalHotKey a(system), b(system);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.HotKey(), 0);
    EXPECT_EQ(system.atoms.size(), 2u);
    EXPECT_EQ(system.windows.size(), 2u);
    EXPECT_EQ(system.TakeCalls(), (Calls{"AddAtom", "AddAtom"}));
}

// Registered exactly while active with a key; writing the same value does nothing.
TEST(GlobalHotKey, RegistersOnlyWhileActiveWithAKey) {
    FakeHotKeySystem system;
    GlobalHotKey key(system);
    system.TakeCalls();
    key.SetActive(false);
    key.SetActive(true);
    EXPECT_TRUE(system.TakeCalls().empty());  // no key: neither call
    key.SetHotKey(0x2C);
    EXPECT_EQ(system.TakeCalls(), (Calls{"Register(49152,0,44)"}));
    key.SetHotKey(0x2C);
    key.SetActive(true);
    EXPECT_TRUE(system.TakeCalls().empty());
    key.SetActive(false);
    EXPECT_EQ(system.TakeCalls(), (Calls{"Unregister(49152)"}));
    key.SetHotKey(0x8074);  // inactive: only stored
    EXPECT_TRUE(system.TakeCalls().empty());
    key.SetActive(true);
    EXPECT_EQ(system.TakeCalls(), (Calls{"Register(49152,1,116)"}));
    key.SetHotKey(0);
    EXPECT_EQ(system.TakeCalls(), (Calls{"Unregister(49152)"}));
}

// A new combination replaces the old one: only the new one fires afterwards.
TEST(GlobalHotKey, ChangingTheKeyReplacesTheRegistration) {
    FakeHotKeySystem system;
    GlobalHotKey key(system);
    int presses = 0;
    key.SetOnKeyDown([&](GlobalHotKey&, uint16_t, ShiftState) { ++presses; });
    key.SetHotKey(0x25);
    system.TakeCalls();
    key.SetHotKey(0x4027);
    EXPECT_EQ(system.TakeCalls(), (Calls{"Unregister(49152)", "Register(49152,2,39)"}));
    EXPECT_FALSE(system.Press(0, 0x25));
    EXPECT_TRUE(system.Press(2, 0x27));
    EXPECT_EQ(presses, 1);
}

// Modifier bits translate to the registration's modifiers; the event reports the key decoded.
TEST(GlobalHotKey, TranslatesModifiersAndDecodesTheEvent) {
    FakeHotKeySystem system;
    GlobalHotKey key(system);
    key.SetHotKey(0xC000 | 0x41);
    EXPECT_EQ(system.TakeCalls().back(), "Register(49152,3,65)");
    key.SetHotKey(0x2000 | 0x26);
    EXPECT_EQ(system.TakeCalls().back(), "Register(49152,4,38)");
    uint16_t reported = 0;
    ShiftState shift;
    key.SetOnKeyDown([&](GlobalHotKey& sender, uint16_t k, ShiftState s) {
        EXPECT_EQ(&sender, &key);
        reported = k;
        shift = s;
    });
    system.Press(4, 0x26);
    EXPECT_EQ(reported, 0x26);
    EXPECT_EQ(shift, (ShiftState{true, false, false}));
}

TEST(GlobalHotKey, DestructionWithdrawsAndFreesTheAtom) {
    FakeHotKeySystem system;
    {
        GlobalHotKey key(system);
        key.SetHotKey(0x2C);
        system.TakeCalls();
    }
    EXPECT_EQ(system.TakeCalls(), (Calls{"Unregister(49152)", "DeleteAtom(49152)"}));
    EXPECT_TRUE(system.windows.empty());
}

// A combination another program holds is reported once per run, in one message per batch.
TEST(HotKeyConflicts, NamesEachTakenCombinationOnce) {
    FakeHotKeySystem system;
    std::vector<std::string> messages;
    HotKeyConflicts conflicts([&](const std::string& text) { messages.push_back(text); });
    system.taken = {0x2C, 1u << 16 | 0x74};
    GlobalHotKey print(system, &conflicts), toggle(system, &conflicts);
    print.SetHotKey(0x2C);
    toggle.SetHotKey(0x8074);
    conflicts.Report();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "These keys could not be registered because another program already uses them:\n\n    Print Screen\n"
              "    Alt+F5\n\nClose the other program, or choose other frame keys in the options.");
    EXPECT_TRUE(print.Active());  // the component's state stays as it is
    print.SetActive(false);
    print.SetActive(true);
    conflicts.Report();
    EXPECT_EQ(messages.size(), 1u);
}

TEST(HotKeyText, ReadsAsUsersWriteIt) {
    EXPECT_EQ(HotKeyText(0x2C), "Print Screen");
    EXPECT_EQ(HotKeyText(0xC025), "Ctrl+Alt+Left");
    EXPECT_EQ(HotKeyText(0x2028), "Shift+Down");
    EXPECT_EQ(HotKeyText(0x4041), "Ctrl+A");
    EXPECT_EQ(HotKeyText(0x007B), "F12");
}

} // namespace
} // namespace korvan
