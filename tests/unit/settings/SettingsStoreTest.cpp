#include "unit/platform/FakeHotKeySystem.h"
#include "unit/platform/FakeRegistry.h"

#include "settings/FrameKeyOptions.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using test::FakeHotKeySystem;
using test::FakeRegistry;

const std::wstring kCursor = L"Software\\Snapdeck2\\keysettings\\Cursor";

class NoFrame final : public IFrameGeometry {
public:
    int Left() const override { return 0; }
    int Top() const override { return 0; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetLeft(int) override {}
    void SetTop(int) override {}
    void SetWidth(int) override {}
    void SetHeight(int) override {}
};

struct Rig {
    FakeRegistry registry;
    FakeHotKeySystem system;
    NoFrame frame;
    FrameKeys keys{system, frame};
    std::vector<std::string> errors;
    FrameKeyOptions options{registry, keys, [this](const std::string& e) { errors.push_back(e); }};
    int okSteps = 0;
    void Load() {
        options.Load([this] {
            ++okSteps;
            options.SaveAndApply();
        });
    }
};

// First run: the defaults are stored as eighteen DWORDs and the frame keys end off.
TEST(SettingsStore, FirstRunWritesTheWholeLayout) {
    Rig rig;
    rig.Load();
    EXPECT_EQ(rig.okSteps, 1);
    EXPECT_TRUE(rig.registry.HasKey(L"Software\\Snapdeck2\\keysettings\\hotkey"));
    std::vector<std::wstring> names = rig.registry.ValueNames(kCursor);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"FM_L", L"FM_R", L"FM_U", L"FM_D", L"SM_L", L"SM_R", L"SM_U",
                                                L"SM_D", L"FR_L", L"FR_R", L"FR_U", L"FR_D", L"SR_L", L"SR_R",
                                                L"SR_U", L"SR_D", L"enable", L"further"}));
    const uint32_t expected[] = {37, 39, 38, 40, 32805, 32807, 32806, 32808, 16421, 16423, 16422, 16424, 8229, 8231, 8230, 8232};
    for (size_t i = 0; i < 16; ++i) {
        auto value = rig.registry.Value(kCursor, names[i]);
        ASSERT_TRUE(value && value->type == RegistryValue::Type::Dword);
        EXPECT_EQ(value->dword, expected[i]) << names[i].size();
    }
    EXPECT_EQ(rig.registry.Text(kCursor, L"enable"), L"dword:0");
    EXPECT_EQ(rig.registry.Text(kCursor, L"further"), L"dword:0");
    EXPECT_TRUE(rig.system.registered.size() == 1);  // only the toggle key stays
    EXPECT_FALSE(rig.keys.ToggledOn());
    EXPECT_TRUE(rig.errors.empty());
}

// The load's exact order of registry calls on a later run.
TEST(SettingsStore, LoadReadsInTheDocumentedOrder) {
    Rig rig;
    rig.Load();
    rig.registry.ClearCalls();
    Rig second;
    second.registry = rig.registry;
    second.registry.ClearCalls();
    second.Load();
    std::vector<std::wstring> calls = second.registry.Calls();
    ASSERT_EQ(calls.size(), 1u + 2 + 18 + 1);
    EXPECT_EQ(calls[0], L"Open(Software\\Snapdeck2\\keysettings,false)");
    EXPECT_EQ(calls[1], L"Open(Software\\Snapdeck2,false)");
    EXPECT_EQ(calls[2], L"Open(Software\\Snapdeck2\\keysettings\\Cursor,false)");
    EXPECT_EQ(calls[3], L"Read(Software\\Snapdeck2\\keysettings\\Cursor\\FM_L)");
    EXPECT_EQ(calls[19], L"Read(Software\\Snapdeck2\\keysettings\\Cursor\\enable)");
    EXPECT_EQ(calls[20], L"Read(Software\\Snapdeck2\\keysettings\\Cursor\\further)");
    EXPECT_EQ(calls[21], L"Open(Software\\Snapdeck2\\keysettings\\hotkey,false)");
    EXPECT_EQ(second.okSteps, 0);
}

// "enable" survives only with "Store for further session"; the combinations always do.
TEST(SettingsStore, EnableIsKeptOnlyWithStoreFurther) {
    Rig rig;
    rig.Load();
    rig.options.Fields.EnableFrameKeys = true;
    rig.options.Fields.HotKey[0] = 0x41;
    rig.options.SaveAndApply();
    EXPECT_EQ(rig.registry.Text(kCursor, L"enable"), L"dword:0");
    EXPECT_EQ(rig.registry.Text(kCursor, L"FM_L"), L"dword:65");
    EXPECT_EQ(rig.system.registered.size(), 17u);  // switched on by the OK step

    Rig next;
    next.registry = rig.registry;
    next.Load();
    EXPECT_FALSE(next.options.Fields.EnableFrameKeys);
    EXPECT_EQ(next.options.Fields.HotKey[0], 0x41);
    next.keys.SwitchOn();
    EXPECT_TRUE(next.system.Holds(0, 0x41));  // assigned to the fast move left key

    next.options.Fields.EnableFrameKeys = true;
    next.options.Fields.KeepEnabled = true;
    next.options.SaveAndApply();
    Rig third;
    third.registry = next.registry;
    third.Load();
    EXPECT_TRUE(third.options.Fields.EnableFrameKeys);
    EXPECT_TRUE(third.options.Fields.KeepEnabled);
    EXPECT_TRUE(third.keys.ToggledOn());
    EXPECT_EQ(third.system.registered.size(), 17u);
}

// A missing value or one of another type stops the load with its message; the run goes on.
TEST(SettingsStore, BadValuesStopTheLoadWithAMessage) {
    Rig rig;
    rig.Load();
    Rig missing;
    missing.registry = rig.registry;
    missing.registry.Plant(kCursor, L"SM_U", RegistryValue{});
    missing.Load();
    EXPECT_EQ(missing.errors, (std::vector<std::string>{"Invalid data type for 'SM_U'"}));
    EXPECT_EQ(missing.options.Fields.HotKey[5], 32807);  // read before the bad value

    FakeRegistry partial;
    partial.PlantKey(L"Software\\Snapdeck2\\keysettings\\Cursor");
    partial.Plant(kCursor, L"FM_L", RegistryValue::Dword(65));
    Rig broken;
    broken.registry = partial;
    broken.Load();
    EXPECT_EQ(broken.okSteps, 0);
    EXPECT_EQ(broken.errors, (std::vector<std::string>{"Failed to get data for 'FM_R'"}));
    EXPECT_EQ(broken.options.Fields.HotKey[0], 65);
}

} // namespace
} // namespace korvan
