#include "settings/OptionsDialog.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace korvan {
namespace {

using O = OptionControl;

class FakeProcesses final : public IProcessLookup {
public:
    SystemVersion Version() const override { return version; }
    uint32_t ProcessIdOf(WindowHandle window) const override {
        auto found = windows.find(window);
        return found == windows.end() ? 0 : found->second.processId;
    }
    bool IsVisible(WindowHandle window) const override { return windows.at(window).visible; }
    std::string ModuleBaseName(uint32_t processId) const override {
        auto found = moduleNames.find(processId);
        return found == moduleNames.end() ? std::string() : found->second;
    }
    std::vector<ProcessEntry> Processes() const override { return snapshot; }
    std::wstring ImagePath(uint32_t processId) const override {
        return processId ? L"C:\\apps\\" + std::to_wstring(processId) + L".exe" : L"";
    }

    struct Window {
        uint32_t processId;
        bool visible;
    };
    SystemVersion version{kPlatformWin32Nt, 6, 1};
    std::map<WindowHandle, Window> windows;  // in Z order, top first
    std::map<uint32_t, std::string> moduleNames;
    std::vector<ProcessEntry> snapshot;
};

// The dialog's own window and the other windows, in one log.
class FakePorts final : public IOptionsDialogPorts, public IOptionsHost {
public:
    void ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override {
        log.push_back("message " + caption + " " + std::to_string(flags));
        lastText = text;
    }
    void CloseDialog() override { log.push_back("close"); }
    void SetHintsShown(bool shown) override { log.push_back(shown ? "hints on" : "hints off"); }
    void EnumerateTopLevelWindows() override {
        log.push_back("enumerate");
        for (const auto& [window, _] : processes->windows) dialog->ExamineWindow(window);
    }
    void StoreAndApplyFrameKeys() override { log.push_back("store and apply"); }
    void SwitchFrameKeysOff() override { log.push_back("keys off"); }
    void SwitchFrameKeysBack() override { log.push_back("keys back"); }
    void MoveMainWindowOffScreen() override { log.push_back("main window off"); }
    void RestoreMainWindow() override { log.push_back("main window back"); }
    void ClosePreview() override { log.push_back("preview closed"); }
    void ShowPreviewWithImage() override { log.push_back("preview with image"); }
    void UseLargeToolbar() override { log.push_back("large toolbar"); }
    void UseSmallToolbar() override { log.push_back("small toolbar"); }
    void RunSaveDialog(bool resetFileType) override { log.push_back(resetFileType ? "save dialog at type 0" : "save dialog"); }

    std::vector<std::string> log;
    std::string lastText;
    FakeProcesses* processes = nullptr;
    OptionsDialog* dialog = nullptr;
};

// A fresh dialog with its fakes.
struct Rig {
    Rig() {
        ports.processes = &processes;
        ports.dialog = &dialog;
    }
    FakeProcesses processes;
    FakePorts ports;
    FrameKeySettings fields;
    OptionsDialog dialog{ports, ports, processes, fields};
};

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() { Fresh(); }
    void Fresh() {
        rig = std::make_unique<Rig>();
        rig->processes.windows = windows;
        rig->processes.moduleNames = moduleNames;
    }
    void Created() {
        Fresh();
        dialog().Create();
        log().clear();
    }
    // "Paste directly to:" checked and an entry chosen.
    void PasteTo(int entry) {
        Created();
        dialog().SetChecked(O::PasteDirectly, true);
        dialog().Select(O::PasteTarget, entry);
        log().clear();
    }
    OptionsDialog& dialog() { return rig->dialog; }
    FakePorts& ports() { return rig->ports; }
    std::vector<std::string>& log() { return rig->ports.log; }
    FrameKeySettings& fields() { return rig->fields; }
    using Log = std::vector<std::string>;

    std::map<WindowHandle, FakeProcesses::Window> windows{{11, {7, true}}, {12, {8, true}}};
    std::map<uint32_t, std::string> moduleNames{{7, "mspaint.exe"}, {8, "powerpnt.exe"}};
    std::unique_ptr<Rig> rig;
};

TEST_F(OptionsDialogTest, CreationSetsTheDefaultsThroughTheClickHandlers) {
    Fresh();
    dialog().Create();
    EXPECT_EQ(log(), (Log{"large toolbar"}));
    EXPECT_TRUE(dialog().ShowPreviewWindow());
    EXPECT_TRUE(dialog().CopyToClipboard());
    EXPECT_FALSE(dialog().PasteDirectly());
    EXPECT_TRUE(dialog().Enabled(O::PasteDirectly));
    EXPECT_FALSE(dialog().PasteTargetEnabled());
    EXPECT_FALSE(dialog().HideTarget());
    EXPECT_FALSE(dialog().Enabled(O::HideTarget));
    EXPECT_TRUE(dialog().Checked(O::LargeToolbar));
    EXPECT_FALSE(dialog().Checked(O::SmallToolbar));
    EXPECT_TRUE(dialog().Checked(O::EnableHints));
    EXPECT_FALSE(dialog().AutoSave());
    EXPECT_EQ(dialog().TargetWindow(), 0u);
    EXPECT_EQ(dialog().AreaShapeIndex(), 0);
    EXPECT_EQ(dialog().PasteTargetIndex(), 0);
    EXPECT_EQ(dialog().Items(O::AreaShape), (std::vector<std::wstring>{L"Rectangle", L"RoundRectangle", L"Triangle",
                                                                       L"Polygon", L"Ellipse", L"Freehand"}));
    EXPECT_EQ(dialog().Items(O::PasteTarget),
              (std::vector<std::wstring>{L"< Applications >", L"Winword", L"Excel", L"Powerpoint", L"MSPaint"}));
}

TEST_F(OptionsDialogTest, EnablingRuleOfTheCaptureToGroup) {
    struct Case {
        bool clipboard, paste;
        bool pasteEnabled, listAndHideEnabled;
    };
    for (Case c : {Case{true, true, true, true}, Case{true, false, true, false}, Case{false, true, false, false},
                   Case{false, false, false, false}}) {
        Created();
        // Either order of clicks ends the same way; "Paste directly to:" keeps its mark.
        dialog().SetChecked(O::PasteDirectly, c.paste);
        dialog().SetChecked(O::CopyToClipboard, c.clipboard);
        EXPECT_EQ(dialog().PasteDirectly(), c.paste);
        EXPECT_EQ(dialog().Enabled(O::PasteDirectly), c.pasteEnabled);
        EXPECT_EQ(dialog().PasteTargetEnabled(), c.listAndHideEnabled) << c.clipboard << c.paste;
        EXPECT_EQ(dialog().Enabled(O::HideTarget), c.listAndHideEnabled);
    }
}

TEST_F(OptionsDialogTest, RadioButtonsHintsAndAutomaticSaving) {
    Created();
    dialog().SetChecked(O::SmallToolbar, true);
    EXPECT_FALSE(dialog().Checked(O::LargeToolbar));
    dialog().SetChecked(O::SmallToolbar, true);  // no change, no click
    dialog().SetChecked(O::LargeToolbar, true);
    dialog().SetChecked(O::EnableHints, false);
    dialog().SetChecked(O::EnableHints, true);
    dialog().SetChecked(O::AutoSave, true);
    dialog().SetChecked(O::AutoSave, false);  // unchecking opens nothing
    dialog().EditSavingOptionsClick();
    dialog().SetChecked(O::EnableFrameKeys, true);  // switches nothing by itself
    EXPECT_TRUE(fields().EnableFrameKeys);
    EXPECT_EQ(log(), (Log{"small toolbar", "large toolbar", "hints off", "hints on", "keys off",
                              "save dialog at type 0", "keys back", "keys off", "save dialog", "keys back"}));
}

// Each branch of OK after an earlier OK found the presentation program's window (12): its
// steps, the target it leaves, and the exact text of any message.
TEST_F(OptionsDialogTest, OkStepBranches) {
    struct Case {
        const char* name;
        bool paste;
        int entry;
        Log log;
        WindowHandle target;
        const char* text;
    };
    const char* choose = "Dear User. Choose an application\r in witch you want to grab in.";
    const char* notFound = "Dear User. We can\xC2\xB4t found the application you choosed.\r"
                           "Be sure that the application runs before you press \"OK\"!";
    const Case cases[] = {
        {"paste off", false, 4, {"store and apply", "close"}, 0, ""},
        {"no application chosen", true, 0, {"message Information 64", "store and apply"}, 12, choose},
        {"found", true, 4, {"enumerate", "store and apply", "close"}, 11, ""},
        {"not found", true, 1, {"enumerate", "message Error 16", "store and apply", "close"}, 0, notFound},
        {"not found either", true, 2, {"enumerate", "message Error 16", "store and apply", "close"}, 0, notFound},
        {"typed text naming no entry", true, -1, {"store and apply", "close"}, 12, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PasteTo(3);
        dialog().OkClick();
        ASSERT_EQ(dialog().TargetWindow(), 12u);
        dialog().SetChecked(O::PasteDirectly, c.paste);
        dialog().Select(O::PasteTarget, c.entry);
        log().clear();
        dialog().OkClick();
        EXPECT_EQ(log(), c.log);
        EXPECT_EQ(dialog().TargetWindow(), c.target);
        EXPECT_EQ(ports().lastText, c.text);
    }
}

// Only the OK step's own search sets the target, and it keeps the program the target
// belongs to; a window handed in at any other time (another program sending the
// discovery message) changes nothing.
TEST_F(OptionsDialogTest, OnlyTheOkStepsSearchSetsTheTarget) {
    windows = {{11, {7, true}}, {12, {8, true}}};
    moduleNames = {{7, "mspaint.exe"}, {8, "MSPAINT.EXE"}};
    PasteTo(4);
    dialog().ExamineWindow(12);
    EXPECT_EQ(dialog().TargetWindow(), 0u);
    dialog().OkClick();
    EXPECT_EQ(dialog().TargetWindow(), 12u);  // the last match of the search
    EXPECT_EQ(dialog().TargetProcess(), (ProcessIdentity{8, L"C:\\apps\\8.exe"}));
    dialog().ExamineWindow(11);
    EXPECT_EQ(dialog().TargetWindow(), 12u);
    EXPECT_EQ(dialog().TargetProcess().id, 8u);
    dialog().SetChecked(O::PasteDirectly, false);
    dialog().OkClick();
    EXPECT_EQ(dialog().TargetProcess(), ProcessIdentity{});
}

TEST_F(OptionsDialogTest, DefaultStoresTheDefaultKeysAndKeepsTheDialogOpenOnce) {
    Created();
    fields().HotKey.fill(0);
    dialog().DefaultClick();
    EXPECT_EQ(fields().HotKey, kDefaultFrameKeys);
    EXPECT_EQ(log(), (Log{"store and apply"}));
    log().clear();
    dialog().OkClick();
    EXPECT_EQ(log(), (Log{"store and apply", "close"}));
    // With an application chosen, Default searches too, and may complain.
    PasteTo(0);
    dialog().DefaultClick();
    EXPECT_EQ(log(), (Log{"message Information 64", "store and apply"}));
}

// Showing puts the main window and the preview aside; closing brings them back.
TEST_F(OptionsDialogTest, ShowAndCloseMoveTheOtherWindowsAsideAndBack) {
    Created();
    dialog().OnShow();
    dialog().OnClose();
    EXPECT_EQ(log(), (Log{"main window off", "preview closed", "main window back", "preview with image"}));
}

TEST_F(OptionsDialogTest, CancelOnlyClosesAndKeepsTheChanges) {
    Created();
    dialog().SetChecked(O::CopyToClipboard, false);
    dialog().CancelClick();
    EXPECT_EQ(log(), (Log{"close"}));
    EXPECT_FALSE(dialog().CopyToClipboard());
}

} // namespace
} // namespace korvan
