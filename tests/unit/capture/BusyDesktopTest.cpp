// The capture commands on a busy desktop: a clipboard another program holds, a target that
// does not come to the front or answers nothing, keys the user still holds, Print Screen
// in the middle of another capture, and a window pick that must never wait while listening.
#include "capture/TargetPaste.h"
#include "unit/capture/CaptureFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace korvan {
namespace {

using fakes::CaptureRig;
using fakes::Calls;
using fakes::Join;
using fakes::kCtrlV;

const std::string kNotPasted = std::string("Tell(") + CaptureCommands::kNotPastedText + ")";

bool Has(const Calls& calls, const std::string& call) { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

int CountOf(const Calls& calls, const std::string& prefix) {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
}

// Automatic saving keeps the file when the clipboard could not be had: the capture is
// saved under its numbered name, no preview shows, the main window is back, and then the
// clipboard's error reaches the user (together with the save's when that failed too).
class BusyClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("korvan-busy-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST_F(BusyClipboard, EveryCommandStillSavesTheFileThenTellsTheError) {
    struct Command {
        const char* name;
        bool frameShown;
        void (*run)(CaptureCommands&);
    };
    const Command commands[] = {
        {"desktop", false, [](CaptureCommands& c) { c.CaptureDesktop(); }},
        {"print screen", false, [](CaptureCommands& c) { c.PrintScreenPressed(); }},
        {"area", false, [](CaptureCommands& c) { c.CaptureArea(); }},
        {"frame", true, [](CaptureCommands& c) { c.CaptureFrame(); }},
        {"window pick", false, [](CaptureCommands& c) { c.ArmWindowPick(); c.FinishWindowPick(); }},
    };
    for (const Command& command : commands) {
        CaptureRig rig;
        rig.options.autoSave = true;
        rig.autoSave.Take({(folder / "shot.bmp").wstring(), 1, {L"bmp", {6, 24, 63}}});
        rig.frame.visible = command.frameShown;
        rig.clipboard.result = {imaging::kClipboardOpenFailed, "held by HISTORY.EXE"};
        try {
            command.run(rig.commands);
            ADD_FAILURE() << command.name << ": no error raised";
        } catch (const ImageError& error) {
            EXPECT_STREQ(error.what(), "ShotImage \nError code: -40\nCopy: Cannot open the clipboard (held by HISTORY.EXE) ")
                << command.name;
        }
        EXPECT_TRUE(std::filesystem::exists(folder / "shot1.bmp")) << command.name;
        std::filesystem::remove(folder / "shot1.bmp");
        Calls calls = rig.TakeCalls();
        EXPECT_EQ(CountOf(calls, "Preview.Show"), 0) << command.name;
        EXPECT_EQ(rig.mainWindow.left, 300) << command.name;
        EXPECT_FALSE(rig.commands.MovedAway) << command.name;
    }
}

TEST_F(BusyClipboard, AFailedSaveIsToldTogetherWithTheClipboardError) {
    CaptureRig rig;
    rig.options.autoSave = true;
    rig.autoSave.Take({(folder / "shot.bmp").wstring(), 1, {L"bmp", {0, 24, 0}}});  // no such format
    rig.clipboard.result = {imaging::kClipboardOpenFailed, "held by HISTORY.EXE"};
    try {
        rig.commands.CaptureDesktop();
        FAIL() << "no error raised";
    } catch (const ImageError& error) {
        EXPECT_STREQ(error.what(), "ShotImage \nError code: -40\nCopy: Cannot open the clipboard (held by HISTORY.EXE) "
                                   "\n\nShotImage \nError code: -9\nSave: Invalid file format ");
    }
    EXPECT_EQ(rig.mainWindow.left, 300);
}

// Ctrl+V goes only into the target the user chose: the window restored must still belong
// to the program it was found in, come to the front within 500 ms, take input and answer;
// otherwise nothing is typed, the picture stays on the clipboard and the user hears of it
// once for that target until a paste into it works again.
struct PasteCase {
    const char* name;
    void (*arrange)(fakes::FakeSystem&);
    bool restored;  // the target was touched at all
    bool typed;
};

const PasteCase kPasteCases[] = {
    {"in front", [](fakes::FakeSystem&) {}, true, true},
    {"in front after 300 ms", [](fakes::FakeSystem& s) { s.thief = 66, s.thiefLeavesAt = 300; }, true, true},
    {"a thief takes the foreground", [](fakes::FakeSystem& s) { s.thief = 66; }, true, false},
    {"a modal dialog disables it", [](fakes::FakeSystem& s) { s.disabledWindows.insert(5); }, true, false},
    {"not responding", [](fakes::FakeSystem& s) { s.hungWindows.insert(5); }, true, false},
    {"its handle went to another program", [](fakes::FakeSystem& s) { s.processes[5] = {912, L"C:\\x\\OTHER.EXE"}; },
     false, false},
};

TEST(TargetPaste, TypesOnlyIntoTheChosenTargetInFront) {
    for (const PasteCase& c : kPasteCases) {
        for (bool hotKey : {false, true}) {
            CaptureRig rig;
            rig.ChoosePasteTarget();
            rig.options.targetProcess = {400, L"C:\\apps\\MSPAINT.EXE"};
            rig.system.processes[5] = rig.options.targetProcess;
            c.arrange(rig.system);
            rig.image.Capture(0, 0, 0, 4, 4);
            rig.TakeCalls();
            if (hotKey) rig.commands.HotKeyDelivery();
            else rig.commands.DeliverImage();
            Calls calls = rig.TakeCalls();
            std::string name = std::string(c.name) + (hotKey ? ", Print Screen" : "");
            EXPECT_EQ(Has(calls, "ShowWindow(5,9)"), c.restored) << name;
            EXPECT_EQ(CountOf(calls, "Type("), c.typed ? 1 : 0) << name;
            EXPECT_EQ(Has(calls, kNotPasted), c.restored && !c.typed) << name;
            EXPECT_LE(rig.system.now, kTargetFrontWaitMs) << name;  // never waits longer
        }
    }
}

TEST(TargetPaste, TellsOnceForTheSameTargetUntilAPasteWorks) {
    CaptureRig rig;
    rig.ChoosePasteTarget();
    rig.image.Capture(0, 0, 0, 4, 4);
    auto deliverTells = [&] {
        rig.TakeCalls();
        rig.commands.DeliverImage();
        return CountOf(rig.TakeCalls(), "Tell(");
    };
    rig.system.thief = 66;
    EXPECT_EQ(deliverTells(), 1);
    EXPECT_EQ(deliverTells(), 0);
    rig.system.thief = 0;
    EXPECT_EQ(deliverTells(), 0);  // pasted
    rig.system.thief = 66;
    EXPECT_EQ(deliverTells(), 1);
}

// Keys the user still holds are let go before Ctrl+V and pressed again after it, all in
// the one call, so a held Shift or Alt never turns the paste into another command.
TEST(TargetPaste, HeldModifiersAreLetGoAroundTheKeys) {
    struct Case {
        std::vector<int> held;
        const char* typed;
    };
    const Case cases[] = {
        {{}, "Type(17/29/0 86/47/0 86/47/2 17/29/2)"},
        {{kVkLeftShift}, "Type(160/60/2 17/29/0 86/47/0 86/47/2 17/29/2 160/60/0)"},
        {{kVkRightAlt, kVkLeftWin},
         "Type(165/65/3 91/-9/3 17/29/0 86/47/0 86/47/2 17/29/2 91/-9/1 165/65/1)"},
        {{kVkLeftControl, kVkRightControl}, "Type(162/62/2 163/63/3 17/29/0 86/47/0 86/47/2 17/29/2 163/63/1 162/62/0)"},
    };
    for (const Case& c : cases) {
        CaptureRig rig;
        rig.system.heldModifiers = c.held;
        rig.system.Type(CtrlVStrokes(rig.system));
        Calls calls = rig.TakeCalls();
        EXPECT_EQ(calls.back(), c.typed);
        EXPECT_EQ(CountOf(calls, "ScanCodeOf("), static_cast<int>(4 + 2 * c.held.size()));
    }
}

// With a paste target the preview shows without taking the foreground from it.
TEST(TargetPaste, ThePreviewLeavesTheForegroundToTheTarget) {
    for (bool hotKey : {false, true}) {
        CaptureRig rig;
        rig.ChoosePasteTarget();
        if (hotKey) rig.commands.PrintScreenPressed();
        else rig.commands.CaptureDesktop();
        Calls calls = rig.TakeCalls();
        EXPECT_TRUE(Has(calls, "Preview.ShowWithoutActivating")) << hotKey;
        EXPECT_FALSE(Has(calls, "Preview.Show") || Has(calls, "Preview.BringToFront")) << hotKey;
    }
}

// Print Screen calls an armed window pick off first (cursors back, the helper deaf), then
// captures the desktop; while an area or object capture's overlay is open it does nothing.
TEST(PrintScreenPressed, CallsAnArmedWindowPickOffFirst) {
    CaptureRig rig;
    rig.commands.ArmWindowPick();
    rig.TakeCalls();
    rig.commands.PrintScreenPressed();
    Calls calls = rig.TakeCalls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 4),
              (Calls{"Helper.StopListening", "SetLeft(300)", "RestoreApplication", "RestoreSystemCursors(112,113)"}));
    EXPECT_TRUE(Has(calls, "Grab(0,0,0,64,48)"));
    EXPECT_FALSE(rig.commands.WindowPickArmed);
    rig.commands.FinishWindowPick();  // the press that comes too late
    EXPECT_TRUE(rig.TakeCalls().empty());
}

TEST(PrintScreenPressed, DoesNothingWhileTheOverlayIsOpen) {
    for (void (CaptureCommands::*run)() : {&CaptureCommands::CaptureArea, &CaptureCommands::CaptureObject}) {
        CaptureRig rig;
        rig.capture.whileOpen = [&] { rig.commands.PrintScreenPressed(); };
        (rig.commands.*run)();
        Calls calls = rig.TakeCalls();
        EXPECT_EQ(CountOf(calls, "Grab("), 0);
        EXPECT_EQ(CountOf(calls, "Copy("), 1);
        EXPECT_EQ(rig.image.DisplayedWidth(), 40);  // the area's image, not the overlay's
    }
    CaptureRig rig;  // afterwards the key works again
    rig.commands.CaptureArea();
    rig.commands.PrintScreenPressed();
    EXPECT_TRUE(Has(rig.TakeCalls(), "Grab(0,0,0,64,48)"));
}

// The pick's helper listens through hooks that must be answered at once: nothing waits or
// captures between its SetCapture and its StopListening, whichever way the pick ends.
TEST(WindowPick, NeverWaitsOrCapturesWhileListening) {
    const std::pair<const char*, void (*)(CaptureCommands&)> endings[] = {
        {"press", [](CaptureCommands& c) { c.FinishWindowPick(); }},
        {"cancel", [](CaptureCommands& c) { c.CancelWindowPick(); }},
        {"print screen", [](CaptureCommands& c) { c.PrintScreenPressed(); }},
    };
    for (const auto& [name, end] : endings) {
        CaptureRig rig;
        rig.commands.ArmWindowPick();
        end(rig.commands);
        rig.commands.ArmWindowPick();  // armed afresh: listening again from the start
        end(rig.commands);
        bool listening = false;
        int armed = 0;
        for (const std::string& call : rig.TakeCalls()) {
            if (call == "Helper.SetCapture") listening = true, ++armed;
            if (call == "Helper.StopListening") listening = false;
            bool waitsOrCaptures = call.rfind("Sleep(", 0) == 0 || call.rfind("Grab(", 0) == 0 ||
                                   call.rfind("CaptureWindow", 0) == 0 || call.rfind("Copy(", 0) == 0;
            EXPECT_FALSE(listening && waitsOrCaptures) << name << ": " << call;
        }
        EXPECT_FALSE(listening) << name;
        EXPECT_EQ(armed, 2) << name;
    }
}

} // namespace
} // namespace korvan
