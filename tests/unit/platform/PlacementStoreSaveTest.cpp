// The placement store's key, value formats, save order and its show/close/destroy life.
#include "unit/platform/FakePlacementWindow.h"
#include "unit/platform/FakeRegistry.h"
#include "platform/Exception.h"
#include "platform/PlacementStore.h"

#include <gtest/gtest.h>

namespace korvan::test {
namespace {

const std::wstring kKey = L"Software\\Korvan";
const std::wstring kSection = L"Software\\Korvan\\TImage";

struct PlacementSave : ::testing::Test {
    FakeRegistry registry;
    FakePlacementWindow window;
    PlacementStore store{registry, window};

    // A show that found nothing stored: what every save needs first.
    void ShowOnce() {
        store.OnShow();
        registry.ClearCalls();
        window.calls.clear();
    }
};

// The key is "Software\" plus the executable's name without folder and extension.
TEST(PlacementKey, IsSoftwareAndTheExecutableNameWithoutExtension) {
    EXPECT_EQ(PlacementKeyFor(L"C:\\Program Files\\Korvan\\Korvan.exe"), L"Software\\Korvan");
    EXPECT_EQ(PlacementKeyFor(L"C:\\a.b\\Shot.Tool.exe"), L"Software\\Shot.Tool");
    EXPECT_EQ(PlacementKeyFor(L"/opt/korvan/korvan"), L"Software\\korvan");
    EXPECT_EQ(PlacementKeyFor(L"Plain"), L"Software\\Plain");
}

// Position values split at commas and spaces, runs count as one, bad fields take the default.
TEST(PlacementNumbers, SplitAtCommasAndSpacesWithDefaultsForMissingOrBadFields) {
    struct Case { const wchar_t* text; int expected[4]; } cases[] = {
        {L"1,2,3,4", {1, 2, 3, 4}},
        {L"-8,-8,-1,-1", {-8, -8, -1, -1}},
        {L"1 2  3 , ,4", {1, 2, 3, 4}},
        {L" ,1,2", {1, 2, 70, 80}},
        {L"1,x,3,4", {1, 60, 3, 4}},
        {L"1,2x,3", {1, 60, 3, 80}},
        {L"", {50, 60, 70, 80}},
        {L"1,2,3,4,5", {1, 2, 3, 4}},
        {L"99999999999,2,3,4", {50, 2, 3, 4}},
        {L"+5,-0,3,4", {5, 0, 3, 4}},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        int numbers[4];
        ParsePlacementNumbers(cases[k].text, numbers, {50, 60, 70, 80});
        for (int i = 0; i < 4; ++i) EXPECT_EQ(numbers[i], cases[k].expected[i]) << "case " << k << " field " << i;
    }
}

// A save writes every value as a string, in the fixed order, with the screen suffix first.
TEST_F(PlacementSave, WritesEveryValueAsTextInOrder) {
    ShowOnce();
    window.placement = {2, 1, {-1, -1}, {-4, -4}, {10, 20, 316, 275}};
    store.OnCloseQuery(true);
    std::vector<std::wstring> expected = {
        L"Open(Software\\Korvan,true)",
        L"Open(Software\\Korvan\\TImage,true)",
        L"Write(Software\\Korvan\\TImage\\FormVersion=0)",
        L"Write(Software\\Korvan\\TImage\\Flags=2)",
        L"Write(Software\\Korvan\\TImage\\ShowCmd=1)",
        L"Write(Software\\Korvan\\TImage\\PixelsPerInch=96)",
        L"Write(Software\\Korvan\\TImage\\MinMaxPos(1024x768)=-1,-1,-4,-4)",
        L"Write(Software\\Korvan\\TImage\\MinMaxPos=-1,-1,-4,-4)",
        L"Write(Software\\Korvan\\TImage\\NormPos(1024x768)=10,20,316,275)",
        L"Write(Software\\Korvan\\TImage\\NormPos=10,20,316,275)",
        L"Write(Software\\Korvan\\TImage\\Visible=0)",
    };
    EXPECT_EQ(registry.Calls(), expected);
    EXPECT_EQ(registry.Value(kSection, L"NormPos")->type, RegistryValue::Type::String);
    registry.ClearCalls();
    store.OnDestroy();
    EXPECT_TRUE(registry.Calls().empty()) << "saved already: the destruction adds nothing";
}

// The suffix follows the screen size; the layout's version is 0.
TEST_F(PlacementSave, SuffixFollowsTheScreenAndTheVersionIsZero) {
    window.screen = {1920, 1200};
    ShowOnce();
    store.SavePlacement();
    EXPECT_EQ(registry.ValueNames(kSection),
              (std::vector<std::wstring>{L"FormVersion", L"Flags", L"ShowCmd", L"PixelsPerInch", L"MinMaxPos(1920x1200)",
                                         L"MinMaxPos", L"NormPos(1920x1200)", L"NormPos", L"Visible"}));
    EXPECT_EQ(registry.Text(kSection, L"FormVersion"), L"0");
}

// The main window of a minimised application is stored as shown minimised (2).
TEST_F(PlacementSave, MainWindowOfAMinimisedApplicationStoresShowCmdTwo) {
    window.role = MainWindowRole::ThisWindow;
    window.applicationMinimized = true;
    ShowOnce();
    window.placement.showCmd = 1;
    store.SavePlacement();
    EXPECT_EQ(registry.Text(kSection, L"ShowCmd"), L"2");

    window.role = MainWindowRole::OtherWindow;
    store.SavePlacement();
    EXPECT_EQ(registry.Text(kSection, L"ShowCmd"), L"1");
}

// A section that cannot be created raises "Failed to create key <section>" and writes nothing.
TEST_F(PlacementSave, SectionThatCannotBeCreatedRaisesAndWritesNothing) {
    registry.FailCreate(kSection);
    ShowOnce();
    try {
        store.OnCloseQuery(true);
        FAIL() << "no error raised";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "Failed to create key TImage");
    }
    EXPECT_TRUE(registry.CallsOf(L"Write(").empty());
    EXPECT_THROW(store.OnDestroy(), Exception) << "not saved: the destruction tries again";
}

// A window never shown is never saved while active, so an earlier run's values survive.
TEST_F(PlacementSave, NeverShownWindowIsNeverSaved) {
    registry.PlantString(kSection, L"NormPos", L"1,2,3,4");
    store.OnCloseQuery(true);
    store.OnDestroy();
    EXPECT_TRUE(registry.Calls().empty());
    EXPECT_EQ(registry.Text(kSection, L"NormPos"), L"1,2,3,4");
}

// Close saves only when closing is allowed and the window has a handle.
TEST_F(PlacementSave, CloseSavesOnlyWhenAcceptedAndWithHandle) {
    ShowOnce();
    store.OnCloseQuery(false);
    EXPECT_TRUE(registry.Calls().empty());
    window.hasHandle = false;
    store.OnCloseQuery(true);
    EXPECT_TRUE(registry.Calls().empty());
    window.hasHandle = true;
    store.OnCloseQuery(true);
    EXPECT_EQ(registry.CallsOf(L"Write(").size(), 9u);
}

// Destruction saves with Visible "1", unless a save ran since the last show.
TEST_F(PlacementSave, DestructionSavesWithVisibleOneUnlessAlreadySaved) {
    ShowOnce();
    store.OnDestroy();
    EXPECT_EQ(registry.Text(kSection, L"Visible"), L"1");
    store.OnShow();
    store.OnCloseQuery(true);
    EXPECT_EQ(registry.Text(kSection, L"Visible"), L"0") << "the destruction's mark does not stay";

    FakeRegistry other;
    PlacementStore closed(other, window);
    closed.OnShow();
    closed.OnCloseQuery(true);
    other.ClearCalls();
    closed.OnDestroy();
    EXPECT_TRUE(other.Calls().empty());
    EXPECT_EQ(other.Text(kSection, L"Visible"), L"0");
}

// Close, show again, destroy: two saves, since the new show cleared "saved".
TEST_F(PlacementSave, CloseShowDestroySavesTwice) {
    ShowOnce();
    store.OnCloseQuery(true);
    store.OnShow();
    store.OnDestroy();
    EXPECT_EQ(registry.CallsOf(L"Write(Software\\Korvan\\TImage\\Visible").size(), 2u);
    EXPECT_EQ(registry.Text(kSection, L"Visible"), L"1");
}

// A failing save from destruction still clears the destruction's mark.
TEST_F(PlacementSave, FailedSaveFromDestructionClearsItsMark) {
    registry.FailCreate(kSection);
    ShowOnce();
    EXPECT_THROW(store.OnDestroy(), Exception);
    registry.AllowCreate(kSection);
    store.OnCloseQuery(true);
    EXPECT_EQ(registry.Text(kSection, L"Visible"), L"0");
}

// Key presses that move the hidden window start from the stored place, write nothing,
// are kept by the next show and stored then, and at destruction in any case.
TEST(PlacementHiddenMoves, StartFromTheStoredPlaceAndAreKept) {
    for (bool shownAfterwards : {true, false}) {
        FakeRegistry registry;
        FakePlacementWindow window;
        PlacementStore store(registry, window);
        registry.PlantString(kSection, L"NormPos", L"100,100,366,237");
        store.PlaceHidden();
        EXPECT_EQ(window.placement.normalRect, (PlacementRect{100, 100, 366, 237}));
        EXPECT_EQ(window.placement.showCmd, 0u);  // still hidden
        registry.ClearCalls();
        store.OnCloseQuery(true);
        EXPECT_TRUE(registry.CallsOf(L"Write(").empty()) << "placing a hidden window is no restore";
        for (int press = 0; press < 3; ++press) {
            window.placement.normalRect.left += 5;
            window.placement.normalRect.right += 5;
            store.HiddenWindowMoved();
        }
        EXPECT_TRUE(registry.CallsOf(L"Write(").empty());
        if (shownAfterwards) {
            store.OnShow();
            EXPECT_EQ(window.placement.normalRect.left, 115) << "the show kept the moved place";
            EXPECT_EQ(registry.Text(kSection, L"NormPos"), L"115,100,381,237");
            EXPECT_EQ(registry.Text(kSection, L"Visible"), L"0");
        }
        store.OnDestroy();
        EXPECT_EQ(registry.Text(kSection, L"NormPos"), L"115,100,381,237");
        EXPECT_EQ(registry.Text(kSection, L"Visible"), L"1");
    }
}

} // namespace
} // namespace korvan::test
