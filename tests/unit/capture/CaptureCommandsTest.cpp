#include "unit/capture/CaptureFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace korvan {
namespace {

using fakes::CaptureRig;
using fakes::Calls;
using fakes::Join;
using fakes::kCtrlV;

// The desktop command: off the desktop, minimise the target, 500 ms, grab the primary
// screen, zoom, deliver, preview, save, back in place.
TEST(DesktopCapture, RunsTheStepsInOrderWithTheDefaultOptions) {
    CaptureRig rig;
    rig.commands.CaptureDesktop();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"SetLeft(-820)", "Sleep(500)", "Grab(0,0,0,64,48)", "Copy(3)", "Preview.Show",
                                      "Preview.BringToFront", "SetLeft(300)", "RestoreApplication"}));
    EXPECT_EQ(rig.image.DisplayedWidth(), 64);
    EXPECT_EQ(rig.image.PaintZoomFactor(), 100);
    EXPECT_EQ(rig.clipboard.last.PixelAt(5, 6), (imaging::Rgb{5, 6, 7}));
    EXPECT_FALSE(rig.commands.MovedAway);
}

TEST(DesktopCapture, ClosesTheFrameAndThePreviewFirst) {
    CaptureRig rig;
    rig.frame.visible = rig.preview.visible = true;
    rig.commands.CaptureDesktop();
    Calls calls = rig.TakeCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "Frame.Close");
    EXPECT_EQ(calls[1], "Preview.Close");
    EXPECT_EQ(calls[2], "SetLeft(-820)");
    EXPECT_TRUE(rig.preview.visible);
    EXPECT_FALSE(rig.frame.visible);
}

TEST(DesktopCapture, MinimisesAfterMovingAndPastesIntoTheTarget) {
    CaptureRig rig;
    rig.options.pasteDirectly = true;
    rig.options.hideTarget = true;
    rig.options.pasteTargetIndex = 2;
    rig.options.targetWindow = 77;
    rig.options.showPreviewWindow = false;
    rig.commands.CaptureDesktop();
    EXPECT_EQ(rig.TakeCalls(), Join({{"SetLeft(-820)", "ShowWindow(77,6)", "Sleep(500)", "Grab(0,0,0,64,48)",
                                      "Copy(3)", "MakePromisedForms", "ShowWindow(77,9)"},
                                     kCtrlV,
                                     {"SetLeft(300)", "RestoreApplication"}}));
}

// Standard delivery: the clipboard is the master switch; keys go only to a known target.
TEST(DeliverImage, RaisesTheTargetWhenItWasNotMinimised) {
    CaptureRig rig;
    rig.options.pasteDirectly = true;
    rig.options.pasteTargetIndex = 1;
    rig.options.targetWindow = 5;
    rig.image.Capture(0, 0, 0, 4, 4);
    rig.TakeCalls();
    rig.commands.DeliverImage();
    EXPECT_EQ(rig.TakeCalls(), Join({{"Copy(3)", "MakePromisedForms", "ShowWindow(5,9)", "BringWindowToTop(5)"}, kCtrlV}));
}

TEST(DeliverImage, StopsAtEachMissingCondition) {
    CaptureRig rig;
    rig.image.Capture(0, 0, 0, 4, 4);
    rig.TakeCalls();
    rig.commands.DeliverImage();  // direct paste off
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Copy(3)"}));
    rig.options.pasteDirectly = true;  // placeholder entry selected
    rig.commands.DeliverImage();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Copy(3)"}));
    rig.options.pasteTargetIndex = 3;  // no window found
    rig.commands.DeliverImage();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Copy(3)"}));
    rig.options.copyToClipboard = false;  // nothing at all, direct paste depends on the copy
    rig.options.targetWindow = 9;
    rig.commands.DeliverImage();
    EXPECT_TRUE(rig.TakeCalls().empty());
}

// Print Screen's delivery hides and restores the target, whether or not it is minimised;
// without a known target it leaves the image on the clipboard.
TEST(HotKeyDelivery, HidesAndRestoresTheTargetOnlyWhenOneIsKnown) {
    CaptureRig rig;
    rig.options.pasteDirectly = true;
    rig.options.pasteTargetIndex = 4;
    rig.image.Capture(0, 0, 0, 4, 4);
    rig.TakeCalls();
    rig.commands.HotKeyDelivery();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Copy(3)"}));
    rig.options.targetWindow = 8;
    rig.commands.HotKeyDelivery();
    EXPECT_EQ(rig.TakeCalls(), Join({{"Copy(3)", "MakePromisedForms", "ShowWindow(8,0)", "ShowWindow(8,9)"}, kCtrlV}));
}

// Print Screen: the frame's inside when it shows, otherwise the desktop, saved after the restore.
TEST(PrintScreenPressed, CapturesTheFrameInsideWithoutMovingAnything) {
    CaptureRig rig;
    rig.frame.visible = true;
    rig.preview.visible = true;
    rig.commands.PrintScreenPressed();
    EXPECT_EQ(rig.TakeCalls(),
              (Calls{"Grab(0,540,160,790,270)", "Copy(3)", "Preview.Show", "Preview.BringToFront"}));
    EXPECT_EQ(rig.image.DisplayedWidth(), 250);
}

TEST(PrintScreenPressed, CapturesTheDesktopAndSavesAfterTheRestore) {
    auto folder = std::filesystem::temp_directory_path() / "korvan-grabit";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    CaptureRig rig;
    rig.options.autoSave = true;
    rig.autoSave.Take({(folder / "shot.bmp").wstring(), 1, {L"bmp", {6, 24, 63}}});
    rig.image.SetPaintZoomFactor(33);
    rig.preview.visible = true;
    rig.commands.PrintScreenPressed();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Preview.Close", "SetLeft(-820)", "Sleep(500)", "Grab(0,0,0,64,48)", "Copy(3)",
                                      "Preview.Show", "Preview.BringToFront", "SetLeft(300)", "RestoreApplication",
                                      "WaitCursor", "DefaultCursor"}));
    EXPECT_EQ(rig.image.PaintZoomFactor(), 33);  // the previous capture's zoom is kept
    EXPECT_TRUE(std::filesystem::exists(folder / "shot1.bmp"));
    std::filesystem::remove_all(folder);
}

// The frame button: the first press shows the frame, the next captures its inner panel.
TEST(FrameButton, ShowsTheFrameThenCapturesItsInside) {
    CaptureRig rig;
    rig.commands.CaptureFrame();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Frame.Show"}));
    rig.preview.visible = true;
    rig.commands.CaptureFrame();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"Preview.Close", "Grab(0,540,160,790,270)", "Copy(3)", "Preview.Show",
                                      "Preview.BringToFront"}));
    EXPECT_TRUE(rig.frame.visible);
}

// Moving off the screen remembers the first position only; a window at Left 0 comes back to 0.
TEST(MoveOffScreen, RemembersThePositionOnceEvenAtLeftZero) {
    CaptureRig rig;
    rig.mainWindow.left = 0;
    rig.commands.MoveOffScreen();
    rig.commands.MoveOffScreen();
    EXPECT_EQ(rig.mainWindow.left, -820);
    rig.commands.RestoreAfterCapture();
    EXPECT_EQ(rig.mainWindow.left, 0);
    EXPECT_EQ(rig.TakeCalls(), (Calls{"SetLeft(-820)", "SetLeft(0)", "RestoreApplication"}));
}

// The window goes left of the whole virtual screen by its own width, whatever the
// monitors, and comes back exactly, also from Left 0 or from a monitor at negative x.
TEST(MoveOffScreen, LeavesEveryMonitorAndComesBackExactly) {
    struct Layout {
        ScreenRect virtualScreen;
        int left, away;
    };
    const Layout layouts[] = {
        {{0, 0, 1920, 1200}, 300, -410},          // one monitor
        {{-1280, 0, 1920, 1200}, -900, -1690},    // a monitor left of the primary one
        {{-1280, 0, 1920, 1200}, 0, -1690},       // at Left 0
        {{-3840, -400, 1920, 1200}, -3840, -4250},  // at the left edge of the leftmost of three
        {{0, -1200, 1920, 1200}, 1500, -410},     // a monitor above the primary one
    };
    for (const Layout& layout : layouts) {
        CaptureRig rig;
        rig.system.virtualScreen = layout.virtualScreen;
        rig.mainWindow.left = layout.left;
        rig.commands.MoveOffScreen();
        EXPECT_EQ(rig.mainWindow.left, layout.away) << layout.left;
        rig.commands.RestoreAfterCapture();
        EXPECT_EQ(rig.mainWindow.left, layout.left);
    }
}

TEST(RestoreAfterCapture, LeavesAWindowThatWasNotMovedWhereItIs) {
    CaptureRig rig;
    rig.commands.RestoreAfterCapture();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"RestoreApplication"}));
    EXPECT_EQ(rig.mainWindow.left, 300);
}

TEST(RestoreAfterCapture, PutsSavedSystemCursorsBackOnce) {
    CaptureRig rig;
    rig.commands.SavedArrowCursor = 11;
    rig.commands.SavedIBeamCursor = 12;
    rig.commands.RestoreAfterCapture();
    rig.commands.RestoreAfterCapture();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"RestoreApplication", "RestoreSystemCursors(11,12)", "RestoreApplication"}));
}

// A failed grab ends the command, but the main window is back before the error is shown.
TEST(DesktopCapture, FailedGrabRestoresTheWindowAndKeepsThePreviousImage) {
    CaptureRig rig;
    rig.image.Capture(0, 0, 0, 10, 10);
    rig.TakeCalls();
    rig.grabber.status = imaging::kScreenDcFailed;
    try {
        rig.commands.CaptureDesktop();
        FAIL() << "no error raised";
    } catch (const ImageError& error) {
        EXPECT_STREQ(error.what(), "ShotImage \nError code: -60\nCapture: Cannot access the screen ");
    }
    EXPECT_EQ(rig.TakeCalls(), (Calls{"SetLeft(-820)", "Sleep(500)", "Grab(0,0,0,64,48)", "SetLeft(300)",
                                      "RestoreApplication"}));
    EXPECT_EQ(rig.image.DisplayedWidth(), 10);
}

// The zoom: 100 divided by the larger rounded ratio, from the control's size less 60.
TEST(ComputeZoomFactor, UsesTheImageControlsSize) {
    CaptureRig rig;
    rig.system.screen = {1000, 600};
    rig.image.SetControlSize(460, 360, 456, 356);
    rig.commands.CaptureDesktop();
    EXPECT_EQ(rig.image.PaintZoomFactor(), 50);
}

class AutoSave : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("korvan-autosave-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        rig.options.autoSave = true;
        rig.options.showPreviewWindow = false;
        Choose(L"myImage.bmp");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::wstring Path(const std::wstring& name) { return (folder / name).wstring(); }
    // As if confirmed in the save dialog.
    void Choose(const std::wstring& name, SaveSettings settings = {6, 24, 63}) {
        rig.autoSave.Take({Path(name), 1, {L"bmp", settings}});
    }
    void Touch(const std::wstring& name) {
        std::ofstream(folder / name) << "taken";
        rig.system.existing.insert(Path(name));
    }
    std::string Content(const std::wstring& name) {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path folder;
    CaptureRig rig;
};

// Numbered names skip every existing file and leave the user's name in place.
TEST_F(AutoSave, SkipsExistingNamesAndKeepsTheChosenName) {
    Touch(L"myImage1.bmp");
    Touch(L"myImage2.bmp");
    rig.commands.CaptureDesktop();
    EXPECT_EQ(Content(L"myImage1.bmp"), "taken");
    EXPECT_EQ(Content(L"myImage3.bmp").substr(0, 2), "BM");
    EXPECT_EQ(rig.autoSave.DialogStart(false).fileName, Path(L"myImage.bmp"));
    Calls calls = rig.TakeCalls();
    EXPECT_EQ(calls[calls.size() - 4], "WaitCursor");
    EXPECT_EQ(calls[calls.size() - 3], "DefaultCursor");
    rig.commands.CaptureDesktop();
    EXPECT_TRUE(std::filesystem::exists(folder / "myImage4.bmp"));
}

// A file that appears after the existence check is still never replaced.
TEST_F(AutoSave, NeverReplacesAFileCreatedBehindTheCheck) {
    std::ofstream(folder / "myImage1.bmp") << "raced";
    rig.commands.CaptureDesktop();
    EXPECT_EQ(Content(L"myImage1.bmp"), "raced");
    EXPECT_EQ(Content(L"myImage2.bmp").substr(0, 2), "BM");
}

// Without a name or an image nothing is written and the counter stays: the first file
// written afterwards is number 1.
TEST_F(AutoSave, WritesNothingWithoutANameOrAnImage) {
    rig.autoSave.ForgetName();
    rig.commands.CaptureDesktop();
    Choose(L"myImage.bmp");
    rig.image.SetBitmap(nullptr);
    rig.commands.AutoSaveImage();
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    Calls calls = rig.TakeCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "WaitCursor"), 0);
    rig.commands.CaptureDesktop();
    EXPECT_TRUE(std::filesystem::exists(folder / "myImage1.bmp"));
}

// A failing save still gives back the cursor and the main window, and keeps the name.
TEST_F(AutoSave, FailureRestoresCursorAndWindowAndKeepsTheName) {
    Choose(L"myImage.bmp", {0, 24, 0});
    try {
        rig.commands.CaptureDesktop();
        FAIL() << "no error raised";
    } catch (const ImageError& error) {
        EXPECT_STREQ(error.what(), "ShotImage \nError code: -9\nSave: Invalid file format ");
    }
    EXPECT_EQ(rig.autoSave.DialogStart(false).fileName, Path(L"myImage.bmp"));
    Calls calls = rig.TakeCalls();
    EXPECT_EQ(calls, (Calls{"SetLeft(-820)", "Sleep(500)", "Grab(0,0,0,64,48)", "Copy(3)", "WaitCursor",
                            "DefaultCursor", "SetLeft(300)", "RestoreApplication"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(AutoSave, NumbersABaseWithoutExtensionWhole) {
    Choose(L"myImage");
    rig.commands.CaptureDesktop();
    EXPECT_TRUE(std::filesystem::exists(folder / "myImage1.bmp"));
}

} // namespace
} // namespace korvan
