#include "unit/platform/FakeHotKeySystem.h"

#include "frame/FrameKeys.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using test::FakeHotKeySystem;

class FakeFrame final : public IFrameGeometry {
public:
    int Left() const override { return left; }
    int Top() const override { return top; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetLeft(int v) override { left = v; }
    void SetTop(int v) override { top = v; }
    void SetWidth(int v) override { width = v; }
    void SetHeight(int v) override { height = v; }
    int left = 533, top = 152, width = 266, height = 137;
};

struct Rig {
    FakeHotKeySystem system;
    FakeFrame frame;
    FrameKeys keys{system, frame};
};

constexpr unsigned kAlt = 1, kCtrl = 2, kShift = 4;
constexpr unsigned kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

// The default keys: arrows move by 5, Alt+arrows by 1, Ctrl+arrows resize by 5, Shift+arrows by 1.
TEST(FrameKeys, DefaultKeysMoveAndResizeTheFrame) {
    Rig rig;
    struct Case {
        unsigned modifiers, key;
        int left, top, width, height;
    } cases[] = {
        {0, kRight, 538, 152, 266, 137},      {0, kLeft, 528, 152, 266, 137},
        {0, kUp, 533, 147, 266, 137},         {0, kDown, 533, 157, 266, 137},
        {kAlt, kRight, 534, 152, 266, 137},   {kAlt, kLeft, 532, 152, 266, 137},
        {kAlt, kUp, 533, 151, 266, 137},      {kAlt, kDown, 533, 153, 266, 137},
        {kCtrl, kRight, 533, 152, 271, 137},  {kCtrl, kLeft, 533, 152, 261, 137},
        {kCtrl, kUp, 533, 152, 266, 132},     {kCtrl, kDown, 533, 152, 266, 142},
        {kShift, kRight, 533, 152, 267, 137}, {kShift, kLeft, 533, 152, 265, 137},
        {kShift, kUp, 533, 152, 266, 136},    {kShift, kDown, 533, 152, 266, 138},
    };
    for (const Case& c : cases) {
        rig.frame = FakeFrame();
        ASSERT_TRUE(rig.system.Press(c.modifiers, c.key)) << c.modifiers << "+" << c.key;
        EXPECT_EQ(rig.frame.left, c.left);
        EXPECT_EQ(rig.frame.top, c.top);
        EXPECT_EQ(rig.frame.width, c.width);
        EXPECT_EQ(rig.frame.height, c.height);
    }
}

// Switching touches the sixteen in their fixed order and never the toggle key.
TEST(FrameKeys, SwitchingOffWithdrawsTheSixteenInOrder) {
    Rig rig;
    rig.system.TakeCalls();
    rig.keys.SwitchOff();
    std::vector<std::string> calls = rig.system.TakeCalls();
    ASSERT_EQ(calls.size(), 16u);
    EXPECT_EQ(calls.front(), "Unregister(49152)");  // slow move right, created first
    EXPECT_EQ(calls.back(), "Unregister(49167)");   // slow resize taller
    EXPECT_FALSE(rig.system.Press(0, kRight));
    EXPECT_TRUE(rig.system.Holds(kAlt, 0x74));  // the toggle
    rig.keys.SwitchOn();
    calls = rig.system.TakeCalls();
    ASSERT_EQ(calls.size(), 16u);
    EXPECT_EQ(calls.front(), "Register(49152,1,39)");
    EXPECT_EQ(calls[4], "Register(49156,0,39)");  // fast move right
}

// The option fields feed the components by the table, not by position.
TEST(FrameKeys, AssignsFieldsToTheirComponents) {
    Rig rig;
    FrameKeyCombinations fields = kDefaultFrameKeys;
    fields[1] = 0x44;  // HotKey2, fast move right: the fifth key in switching order
    fields[12] = 0;    // HotKey13, slow resize left: the fourteenth, no key
    rig.system.TakeCalls();
    rig.keys.Assign(fields);
    EXPECT_EQ(rig.system.TakeCalls(),
              (std::vector<std::string>{"Unregister(49156)", "Register(49156,0,68)", "Unregister(49165)"}));
    EXPECT_TRUE(rig.system.Press(0, 0x44));
    EXPECT_EQ(rig.frame.left, 538);
    EXPECT_FALSE(rig.system.Press(kShift, kLeft));
}

// Alt+F5 follows its own state, which other switching leaves alone: it can run out of step.
TEST(FrameKeys, ToggleFollowsTheFlagEvenWhenOutOfStep) {
    Rig rig;
    EXPECT_TRUE(rig.keys.ToggledOn());
    rig.keys.SwitchOff();  // the program lost activation: keys off, toggle still on
    ASSERT_TRUE(rig.system.Press(kAlt, 0x74));
    EXPECT_FALSE(rig.keys.ToggledOn());
    EXPECT_FALSE(rig.system.Press(0, kRight));  // no visible change
    ASSERT_TRUE(rig.system.Press(kAlt, 0x74));
    EXPECT_TRUE(rig.keys.ToggledOn());
    EXPECT_TRUE(rig.system.Press(0, kRight));
}

// A hidden frame moves all the same; nothing here depends on visibility.
TEST(FrameKeys, DefaultCombinationsAreTheDesignedValues) {
    EXPECT_EQ(kDefaultFrameKeys, (FrameKeyCombinations{37, 39, 38, 40, 32805, 32807, 32806, 32808, 16421, 16423, 16422,
                                                       16424, 8229, 8231, 8230, 8232}));
}

} // namespace
} // namespace korvan

namespace korvan {
namespace {

// At start-up every key that stays active and cannot be registered is told, in one
// notice: Print Screen, Alt+F5, and the frame keys when the stored "enable" keeps them
// on; keys the settings switch off are not told. Each combination is told once per run.
TEST(FrameKeysConflicts, StartUpTellsEveryKeyThatStaysActiveOnce) {
    struct Case { bool enabled; const char* told; } cases[] = {
        {false, "\n    Print Screen\n    Alt+F5\n"},
        {true, "\n    Print Screen\n    Left\n    Alt+F5\n"},
    };
    for (const Case& c : cases) {
        FakeHotKeySystem system;
        FakeFrame frame;
        std::vector<std::string> messages;
        int scheduled = 0;
        HotKeyConflicts conflicts([&](const std::string& text) { messages.push_back(text); }, [&] { ++scheduled; });
        system.taken = {0x2C, 0x25, 1u << 16 | 0x74};
        GlobalHotKey grabit(system, &conflicts);
        grabit.SetHotKey(0x2C);
        FrameKeys keys(system, frame, &conflicts);
        if (c.enabled) keys.SwitchOn();  // what the stored settings decide
        else keys.SwitchOff();
        keys.Assign(kDefaultFrameKeys);
        EXPECT_EQ(scheduled, 1);
        conflicts.Report();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(c.told), std::string::npos) << messages[0];

        keys.SwitchOff();
        keys.SwitchOn();
        conflicts.Report();
        ASSERT_EQ(messages.size(), c.enabled ? 1u : 2u);
        if (!c.enabled) {
            EXPECT_NE(messages[1].find("\n    Left\n"), std::string::npos);
        }
    }
}

} // namespace
} // namespace korvan
