// Restoring a placement: which values are read, their fallbacks, and what reaches the window.
#include "unit/platform/FakePlacementWindow.h"
#include "unit/platform/FakeRegistry.h"
#include "platform/PlacementStore.h"

#include <gtest/gtest.h>

namespace korvan::test {
namespace {

const std::wstring kSection = L"Software\\Korvan\\TImage";

struct PlacementRestore : ::testing::Test {
    FakeRegistry registry;
    FakePlacementWindow window;
    PlacementStore store{registry, window, PlacementOption::Position};
    void Plant(const std::wstring& name, const std::wstring& text) { registry.PlantString(kSection, name, text); }
    // The placement handed to the window by the stored values (the first SetPlacement).
    std::wstring Applied() const {
        for (const auto& call : window.calls)
            if (call.rfind(L"SetPlacement", 0) == 0) return call;
        return L"<none>";
    }
    // Restores and answers whether the stored position reached the window.
    bool PositionApplied() {
        store.OnShow();
        return window.calls.size() == 3;  // stored placement, repaint, maximised position
    }
};

// First run: every value is read in the layout's order, the screen's own name before the
// plain one; nothing stored is applied, the window keeps its place.
TEST_F(PlacementRestore, FirstRunReadsEverythingAndAppliesOnlyTheMaximisedPosition) {
    PlacementStore both(registry, window, PlacementOption::State | PlacementOption::Position);
    both.OnShow();
    std::vector<std::wstring> reads = {
        L"Open(Software\\Korvan,true)",
        L"Read(Software\\Korvan\\TImage\\FormVersion)",
        L"Read(Software\\Korvan\\TImage\\Flags)",
        L"Read(Software\\Korvan\\TImage\\ShowCmd)",
        L"Read(Software\\Korvan\\TImage\\PixelsPerInch)",
        L"Read(Software\\Korvan\\TImage\\MinMaxPos(1024x768))",
        L"Read(Software\\Korvan\\TImage\\MinMaxPos)",
        L"Read(Software\\Korvan\\TImage\\NormPos(1024x768))",
        L"Read(Software\\Korvan\\TImage\\NormPos)",
        L"Read(Software\\Korvan\\TImage\\Visible)",
    };
    EXPECT_EQ(registry.Calls(), reads);
    std::vector<std::wstring> changes = {
        L"SetWindowState(Normal)",
        L"Repaint",
        L"SetPlacement(0,0 min -1,-1 max -4,-4 normal 489,235,795,490)",
    };
    EXPECT_EQ(window.calls, changes);
    registry.ClearCalls();
    both.OnCloseQuery(true);
    EXPECT_EQ(registry.CallsOf(L"Write(").size(), 9u) << "restored: the close saves";
}

// Stored values are applied as one placement; hidden windows are handed show state 0.
TEST_F(PlacementRestore, StoredPlacementIsAppliedThenTheMaximisedPositionAdjusted) {
    Plant(L"Flags", L"2");
    Plant(L"PixelsPerInch", L"96");
    Plant(L"MinMaxPos(1024x768)", L"-32000,-32000,-8,-8");
    Plant(L"NormPos(1024x768)", L"100,50,400,300");
    store.OnShow();
    std::vector<std::wstring> changes = {
        L"SetPlacement(2,0 min -32000,-32000 max -8,-8 normal 100,50,400,300)",
        L"Repaint",
        L"SetPlacement(2,0 min -32000,-32000 max -4,-4 normal 100,50,400,300)",
    };
    EXPECT_EQ(window.calls, changes);
}

// A visible window keeps the show state the system reports.
TEST_F(PlacementRestore, VisibleWindowKeepsItsShowState) {
    window.visible = true;
    window.placement.showCmd = 3;
    Plant(L"NormPos", L"100,50,400,300");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,3 min -1,-1 max -1,-1 normal 100,50,400,300)");
}

// The name for the current screen size wins; the plain name serves when it is missing or empty.
TEST_F(PlacementRestore, ScreenSpecificNameWinsPlainNameIsTheFallback) {
    Plant(L"NormPos(1024x768)", L"10,10,110,110");
    Plant(L"NormPos(800x600)", L"20,20,120,120");
    Plant(L"NormPos", L"30,30,130,130");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min -1,-1 max -1,-1 normal 10,10,110,110)");

    window.calls.clear();
    Plant(L"NormPos(1024x768)", L"");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min -1,-1 max -4,-4 normal 30,30,130,130)");

    window.calls.clear();
    window.screen = {1280, 1024};  // a size of its own is missing: the 800x600 value is not used
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min -1,-1 max -4,-4 normal 30,30,130,130)");
}

// Missing position fields: MinMaxPos fields become 0, NormPos fields the window's current edges.
TEST_F(PlacementRestore, MissingFieldsTakeTheirDefaults) {
    Plant(L"MinMaxPos", L"5,,x");
    Plant(L"NormPos", L"100,x");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min 5,0 max 0,0 normal 100,235,795,490)");
}

// One position value is enough; the other keeps the window's current one.
TEST_F(PlacementRestore, EitherPositionValueAloneIsApplied) {
    Plant(L"MinMaxPos", L"1,2,3,4");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min 1,2 max 3,4 normal 489,235,795,490)");
}

// Without either position value nothing stored is applied, whatever else is there.
TEST_F(PlacementRestore, NoPositionValueMeansNothingApplied) {
    Plant(L"Flags", L"2");
    Plant(L"PixelsPerInch", L"96");
    Plant(L"MinMaxPos", L"");
    EXPECT_FALSE(PositionApplied());
}

// The position applies only when the stored pixels per inch equal the current ones.
TEST_F(PlacementRestore, DifferentPixelsPerInchSkipsThePosition) {
    Plant(L"NormPos", L"100,50,400,300");
    Plant(L"PixelsPerInch", L"120");
    EXPECT_FALSE(PositionApplied());
    window.calls.clear();
    window.pixelsPerInch = 120;
    EXPECT_TRUE(PositionApplied());
}

// Values that are not numbers, or not strings, read as their defaults.
TEST_F(PlacementRestore, BadValuesReadAsDefaults) {
    window.placement.flags = 2;
    Plant(L"FormVersion", L"new");
    Plant(L"Flags", L"lots");
    Plant(L"PixelsPerInch", L"96dpi");
    Plant(L"NormPos", L"100,50,400,300");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(2,0 min -1,-1 max -1,-1 normal 100,50,400,300)");

    window.calls.clear();
    registry.Plant(kSection, L"NormPos", RegistryValue::Dword(7));
    registry.Plant(kSection, L"MinMaxPos", RegistryValue{});
    EXPECT_FALSE(PositionApplied());
}

// A stored normal rectangle whose right edge is not beyond its left edge is ignored.
TEST_F(PlacementRestore, RightEdgeNotBeyondLeftIsIgnored) {
    Plant(L"NormPos", L"400,50,400,300");
    EXPECT_FALSE(PositionApplied());
    window.calls.clear();
    Plant(L"NormPos", L"400,50,100,300");
    EXPECT_FALSE(PositionApplied());
    window.calls.clear();
    Plant(L"NormPos", L"400,50,401,300");
    EXPECT_TRUE(PositionApplied());
}

// A window without a sizeable border takes the stored left and top with its own size.
TEST_F(PlacementRestore, NonSizeableWindowKeepsItsSize) {
    for (BorderKind border : {BorderKind::ToolWindow, BorderKind::Single, BorderKind::Dialog, BorderKind::None}) {
        FakePlacementWindow fresh;
        fresh.border = border;
        PlacementStore other(registry, fresh, PlacementOption::Position);
        Plant(L"NormPos", L"100,50,90,60");  // the stored size, even an empty one, is not used
        other.OnShow();
        ASSERT_FALSE(fresh.calls.empty());
        EXPECT_EQ(fresh.calls[0], L"SetPlacement(0,0 min -1,-1 max -1,-1 normal 100,50,406,305)");
    }
    window.border = BorderKind::SizeableToolWindow;
    Plant(L"NormPos", L"100,50,200,150");
    store.OnShow();
    EXPECT_EQ(Applied(), L"SetPlacement(0,0 min -1,-1 max -1,-1 normal 100,50,200,150)");
}

// A centred window becomes "as designed" before its stored position is applied.
TEST_F(PlacementRestore, CentredWindowBecomesDesignedBeforeThePlacement) {
    Plant(L"NormPos", L"100,50,400,300");
    window.position = PositionRule::ScreenCenter;
    store.OnShow();
    ASSERT_GE(window.calls.size(), 2u);
    EXPECT_EQ(window.calls[0], L"SetPosition(" + std::to_wstring(int(PositionRule::Designed)) + L")");
    EXPECT_EQ(window.calls[1].rfind(L"SetPlacement", 0), 0u);
    window.calls.clear();
    store.OnShow();  // placed as designed now: no rule to change
    EXPECT_EQ(window.calls[0].rfind(L"SetPlacement", 0), 0u);

    window.calls.clear();
    window.position = PositionRule::ScreenCenter;
    Plant(L"NormPos", L"9,9,1,1");  // nothing applied: the rule stays
    store.OnShow();
    EXPECT_EQ(window.position, PositionRule::ScreenCenter);
}

// A placement stored by an older layout version (below 0) is not applied, yet the window
// counts as restored.
TEST_F(PlacementRestore, OlderStoredVersionIsNotApplied) {
    Plant(L"NormPos", L"100,50,400,300");
    Plant(L"FormVersion", L"-1");
    store.OnShow();
    EXPECT_EQ(window.calls, (std::vector<std::wstring>{L"SetPlacement(0,0 min -1,-1 max -4,-4 normal 489,235,795,490)"}));
    registry.ClearCalls();
    store.OnCloseQuery(true);
    EXPECT_FALSE(registry.CallsOf(L"Write(").empty()) << "restored: the close saves";
    Plant(L"NormPos", L"100,50,400,300");
    Plant(L"FormVersion", L"0");
    window.calls.clear();
    EXPECT_TRUE(PositionApplied());
}

// The maximised position is the negated border metrics of the border kind, x then y.
TEST_F(PlacementRestore, MaximisedPositionFollowsTheBorderKind) {
    window.borderMetric = {1, 2};
    window.frameMetric = {4, 5};
    window.dialogMetric = {3, 6};
    struct Case { BorderKind border; const wchar_t* max; } cases[] = {
        {BorderKind::None, L"max 0,0"},         {BorderKind::Single, L"max -1,-2"},
        {BorderKind::ToolWindow, L"max -1,-2"}, {BorderKind::Sizeable, L"max -4,-5"},
        {BorderKind::SizeableToolWindow, L"max -4,-5"}, {BorderKind::Dialog, L"max -3,-6"},
    };
    for (const auto& c : cases) {
        window.calls.clear();
        window.border = c.border;
        store.OnShow();
        ASSERT_EQ(window.calls.size(), 2u);
        EXPECT_NE(window.calls[1].find(c.max), std::wstring::npos);
    }
    window.calls.clear();
    window.hasHandle = false;  // no handle, no adjustment
    store.OnShow();
    EXPECT_EQ(window.calls, std::vector<std::wstring>{L"Repaint"});
}

// Show states 2, 6, 7 give minimised, 3 maximised, every other one normal.
TEST_F(PlacementRestore, ShowCmdGivesTheWindowState) {
    PlacementStore store(registry, window, PlacementOption::State);
    struct Case { const wchar_t* showCmd; WindowState state; } cases[] = {
        {L"1", WindowState::Normal},    {L"5", WindowState::Normal},    {L"9", WindowState::Normal},
        {L"2", WindowState::Minimized}, {L"6", WindowState::Minimized}, {L"7", WindowState::Minimized},
        {L"3", WindowState::Maximized}, {L"0", WindowState::Normal},    {L"4", WindowState::Normal},
        {L"8", WindowState::Normal},    {L"big", WindowState::Normal},
    };
    for (const auto& c : cases) {
        window.calls.clear();
        Plant(L"ShowCmd", c.showCmd);
        store.OnShow();
        ASSERT_EQ(window.calls.size(), 3u) << c.showCmd;
        EXPECT_EQ(window.calls[0], Describe(c.state)) << c.showCmd;
        EXPECT_EQ(window.calls[1], L"Repaint");
    }
}

// A minimised main window (or no main window) stays normal and the application is minimised.
TEST_F(PlacementRestore, MinimisedMainWindowMinimisesTheApplicationInstead) {
    PlacementStore store(registry, window, PlacementOption::State);
    Plant(L"ShowCmd", L"2");
    for (MainWindowRole role : {MainWindowRole::ThisWindow, MainWindowRole::NoMainWindow}) {
        window.calls.clear();
        window.role = role;
        store.OnShow();
        EXPECT_EQ(window.calls, (std::vector<std::wstring>{L"SetWindowState(Normal)", L"PostMinimize", L"Repaint",
                                                            L"SetPlacement(0,0 min -1,-1 max -4,-4 normal 489,235,795,490)"}));
    }
}

// With both options the position is applied before the state.
TEST_F(PlacementRestore, PositionComesBeforeState) {
    PlacementStore store(registry, window, PlacementOption::State | PlacementOption::Position);
    Plant(L"NormPos", L"100,50,400,300");
    Plant(L"ShowCmd", L"3");
    store.OnShow();
    ASSERT_EQ(window.calls.size(), 4u);
    EXPECT_EQ(window.calls[0].rfind(L"SetPlacement", 0), 0u);
    EXPECT_EQ(window.calls[1], L"SetWindowState(Maximized)");
    EXPECT_EQ(window.calls[2], L"Repaint");
}

// A window stored entirely off every monitor keeps its size and comes onto the nearest one.
TEST_F(PlacementRestore, OffMonitorWindowComesBackOntoTheNearestMonitor) {
    window.workAreas = {{0, 0, 1024, 768}, {1024, 0, 2304, 1024}};
    struct Case { const wchar_t* stored; const wchar_t* normal; } cases[] = {
        {L"3000,100,3306,355", L"normal 1998,100,2304,355"},    // right of the second monitor
        {L"-2000,-500,-1694,-245", L"normal 0,0,306,255"},      // above and left of the first
        {L"100,900,406,1155", L"normal 100,513,406,768"},       // below the first, nearer than the second
        {L"1000,700,1306,955", L"normal 1000,700,1306,955"},    // partly visible: left alone
        {L"5000,0,7000,2000", L"normal 304,0,2304,1024"},       // higher than all monitors: cut to them, whole
    };
    for (const auto& c : cases) {
        window.calls.clear();
        Plant(L"NormPos", c.stored);
        store.OnShow();
        EXPECT_NE(Applied().find(c.normal), std::wstring::npos) << Applied().c_str();
    }
}

// Monitors with a gap between them: the nearer one wins; no monitors known: nothing moves.
TEST_F(PlacementRestore, OffMonitorFixPicksTheNearerMonitorAcrossAGap) {
    window.workAreas = {{0, 0, 1024, 768}, {2000, 0, 3024, 768}};
    Plant(L"NormPos", L"1300,100,1400,200");
    store.OnShow();
    EXPECT_NE(Applied().find(L"normal 924,100,1024,200"), std::wstring::npos);

    window.calls.clear();
    Plant(L"NormPos", L"1800,100,1900,200");
    store.OnShow();
    EXPECT_NE(Applied().find(L"normal 2000,100,2100,200"), std::wstring::npos);

    window.calls.clear();
    window.workAreas.clear();
    Plant(L"NormPos", L"5000,100,5100,200");
    store.OnShow();
    EXPECT_NE(Applied().find(L"normal 5000,100,5100,200"), std::wstring::npos);
}

// A non-sizeable window stored off screen comes back with its own size.
TEST_F(PlacementRestore, OffMonitorToolWindowKeepsItsOwnSize) {
    window.border = BorderKind::ToolWindow;
    Plant(L"NormPos", L"-3000,100,-2000,900");
    store.OnShow();
    EXPECT_NE(Applied().find(L"normal 0,100,306,355"), std::wstring::npos) << Applied().c_str();
}

// Stored values near the limits of 32-bit integers give a window that fits the virtual
// screen (the box around the monitors' work areas), computed without overflow; with no
// monitors known, one that 32 bits can hold.
TEST_F(PlacementRestore, ValuesNearTheIntegerLimitsGiveAWindowOnTheScreen) {
    struct Case {
        BorderKind border;
        bool monitorsKnown;
        const wchar_t* stored;
        const wchar_t* normal;
    } cases[] = {
        {BorderKind::Sizeable, true, L"-2147483648,-2147483648,2147483647,2147483647", L"normal 0,0,2304,1024"},
        {BorderKind::Sizeable, true, L"100,100,2147483647,2147483647", L"normal 0,0,2304,1024"},
        {BorderKind::Sizeable, true, L"2147483547,100,2147483647,200", L"normal 2204,100,2304,200"},
        {BorderKind::Sizeable, true, L"-2147483648,0,-2147483548,100", L"normal 0,0,100,100"},
        {BorderKind::ToolWindow, true, L"2147483647,2147483647,0,0", L"normal 1998,769,2304,1024"},
        {BorderKind::ToolWindow, false, L"2147483647,2147483647,0,0", L"normal 2147483341,2147483392,2147483647,2147483647"},
        {BorderKind::Sizeable, false, L"-2147483648,-2147483648,2147483647,2147483647",
         L"normal -2147483648,-2147483648,-1,-1"},
    };
    for (const Case& c : cases) {
        window.calls.clear();
        window.placement.normalRect = {489, 235, 795, 490};  // the designed 306 x 255
        window.border = c.border;
        window.workAreas = {{0, 0, 1024, 768}, {1024, 0, 2304, 1024}};
        if (!c.monitorsKnown) window.workAreas.clear();
        Plant(L"NormPos", c.stored);
        store.OnShow();
        EXPECT_NE(Applied().find(c.normal), std::wstring::npos) << c.stored << " gave " << Applied().c_str();
    }
}

} // namespace
} // namespace korvan::test
