// Registry writes that fail are told to the user once per key, naming the key, and the
// settings store and the placements go on.
#include "unit/platform/FakePlacementWindow.h"
#include "unit/platform/FakeRegistry.h"

#include "platform/PlacementStore.h"
#include "platform/ReportingRegistry.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace korvan::test {
namespace {

TEST(ReportingRegistry, TellsEachFailingKeyOnceByName) {
    FakeRegistry fake;
    std::vector<std::string> told;
    ReportingRegistry registry(fake, [&](const std::string& text) { told.push_back(text); });
    fake.FailWrites(true);
    SettingsStore settings(registry);
    FakePlacementWindow window;
    PlacementStore placement(registry, window);
    placement.OnShow();

    for (int round = 0; round < 2; ++round) {
        EXPECT_NO_THROW(settings.Write(FrameKeySettings{}));
        EXPECT_NO_THROW(placement.OnCloseQuery(true));
    }
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[0].find("HKEY_CURRENT_USER\\Software\\Snapdeck2\\keysettings\\Cursor\n"), std::string::npos);
    EXPECT_NE(told[1].find("HKEY_CURRENT_USER\\Software\\Korvan\\TImage\n"), std::string::npos);
    EXPECT_EQ(fake.CallsOf(L"Write(Software\\Snapdeck2").size(), 36u);  // every value was still tried

    fake.FailWrites(false);
    settings.Write(FrameKeySettings{});
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(fake.Text(SettingsStore::kCursor, L"FM_L"), L"dword:37");
}

} // namespace
} // namespace korvan::test
