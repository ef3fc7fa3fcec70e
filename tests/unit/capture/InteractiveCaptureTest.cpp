// The capture commands that go through the interactive capture: area, object and the
// window clicked next, with their cancel and failure paths; and delivery to a target
// window that may have gone.
#include "unit/capture/CaptureFakes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvan {
namespace {

using fakes::CaptureRig;
using fakes::Calls;
using fakes::Join;
using fakes::kCtrlV;

const Calls kPickArmed{"CopySystemCursor(32512)", "CopySystemCursor(32513)", "SetPickCursor(32512)",
                       "SetPickCursor(32513)", "Sleep(200)", "Helper.SetCapture", "SetLeft(-820)"};
const Calls kBackWithCursors{"SetLeft(300)", "RestoreApplication", "RestoreSystemCursors(112,113)"};

TEST(AreaShapeOf, MapsTheShapeListAndDrawsARectangleWithoutASelection) {
    const std::pair<int, AreaShape> expected[] = {
        {-1, AreaShape::Rectangle}, {0, AreaShape::Rectangle}, {1, AreaShape::RoundRectangle},
        {2, AreaShape::Triangle},   {3, AreaShape::Polygon},   {4, AreaShape::Ellipse},
        {5, AreaShape::Freehand},   {6, AreaShape::Rectangle}, {99, AreaShape::Rectangle}};
    for (const auto& [index, shape] : expected) EXPECT_EQ(AreaShapeOf(index), shape) << "index " << index;
}

// Only the shape follows the options; the rest is the look every capture has: a red
// solid outline with cross lines, the magnifier at twice the size, position and size in
// black on white, white outside the shape, a 5-pixel frame around objects, Escape.
TEST(InteractiveCapture, RunsWithTheProgramsLook) {
    CaptureRig rig;
    rig.options.areaShapeIndex = 4;
    rig.commands.CaptureArea();
    const CaptureSettings& s = rig.capture.settings;
    EXPECT_EQ(s.shape, AreaShape::Ellipse);
    EXPECT_EQ(s.lineColour, (imaging::Rgb{255, 0, 0}));
    EXPECT_EQ(s.lineStyle, LineStyle::Solid);
    EXPECT_EQ(s.magnifierZoom, 2);
    EXPECT_TRUE(s.crossLines && s.showPosition && s.showSize && s.opaqueText && s.cutToShape && s.keyboard);
    EXPECT_EQ(s.textColour, (imaging::Rgb{0, 0, 0}));
    EXPECT_EQ(s.textBackground, (imaging::Rgb{255, 255, 255}));
    EXPECT_EQ(s.outsideColour, (imaging::Rgb{255, 255, 255}));
    EXPECT_EQ(s.cornerWidth, 100);
    EXPECT_EQ(s.cornerHeight, 100);
    EXPECT_EQ(s.cancelKey, 27);
    rig.commands.CaptureObject();
    EXPECT_EQ(rig.capture.settings.objectBorder, 5);
}

struct InteractiveCommand {
    const char* name;
    void (CaptureCommands::*run)();
    int areaOptionsIndex;
    const char* grab;
};

const InteractiveCommand kCommands[] = {
    {"area, no selection", &CaptureCommands::CaptureArea, -1, "CaptureArea(Rectangle)"},
    {"area, ellipse", &CaptureCommands::CaptureArea, 4, "CaptureArea(Ellipse)"},
    {"object", &CaptureCommands::CaptureObject, 3, "CaptureObject"},
};

// Out of the picture, 200 ms, the interactive grab, the image handed over and delivered,
// back in place.
TEST(InteractiveCapture, RunsThePipelineAroundTheGrab) {
    for (const InteractiveCommand& command : kCommands) {
        CaptureRig rig;
        rig.options.areaShapeIndex = command.areaOptionsIndex;
        rig.frame.visible = rig.preview.visible = true;
        (rig.commands.*command.run)();
        EXPECT_EQ(rig.TakeCalls(), (Calls{"Frame.Close", "Preview.Close", "SetLeft(-820)", "Sleep(200)", command.grab,
                                          "Copy(3)", "Preview.Show", "Preview.BringToFront", "SetLeft(300)",
                                          "RestoreApplication"}))
            << command.name;
        EXPECT_EQ(rig.image.DisplayedWidth(), 40) << command.name;
        EXPECT_EQ(rig.clipboard.last.PixelAt(1, 2), (imaging::Rgb{9, 8, 7})) << command.name;
        EXPECT_EQ(rig.image.PaintZoomFactor(), 100) << command.name;
    }
}

TEST(InteractiveCapture, MinimisesTheTargetBeforeMovingAndPastesIntoIt) {
    CaptureRig rig;
    rig.options.pasteDirectly = rig.options.hideTarget = true;
    rig.options.pasteTargetIndex = 1;
    rig.options.targetWindow = 77;
    rig.options.showPreviewWindow = false;
    rig.commands.CaptureArea();
    EXPECT_EQ(rig.TakeCalls(), Join({{"ShowWindow(77,6)", "SetLeft(-820)", "Sleep(200)", "CaptureArea(Rectangle)", "Copy(3)", "MakePromisedForms",
                                      "ShowWindow(77,9)"},
                                     kCtrlV,
                                     {"SetLeft(300)", "RestoreApplication"}}));
}

// A cancelled or failed grab empties the document; nothing is delivered, shown or saved.
TEST(InteractiveCapture, FailedOrCancelledGrabEmptiesTheDocumentAndRestores) {
    for (int status : {int(imaging::kCaptureCancelled), int(imaging::kZeroAreaSize), int(imaging::kCaptureInProcess)}) {
        for (const InteractiveCommand& command : kCommands) {
            CaptureRig rig;
            rig.options.areaShapeIndex = command.areaOptionsIndex;
            rig.options.autoSave = true;
            rig.image.Capture(0, 0, 0, 10, 10);
            rig.TakeCalls();
            rig.capture.status = status;
            (rig.commands.*command.run)();
            EXPECT_EQ(rig.TakeCalls(), (Calls{"SetLeft(-820)", "Sleep(200)", command.grab, "SetLeft(300)",
                                              "RestoreApplication"}))
                << command.name << " " << status;
            EXPECT_FALSE(rig.image.HoldsImage());  // the call list holds no automatic save either
        }
    }
}

TEST(InteractiveCapture, SuccessWithoutAnImageCountsAsFailure) {
    CaptureRig rig;
    rig.capture.width = 0;  // no image came with the success
    rig.commands.CaptureObject();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"SetLeft(-820)", "Sleep(200)", "CaptureObject", "SetLeft(300)",
                                      "RestoreApplication"}));
    EXPECT_FALSE(rig.image.HoldsImage());
}

// The window pick: the click arms it with the pick cursor showing system-wide; the next
// press puts everything back and captures the window under the pointer.
TEST(WindowPick, ArmsThenCapturesOnThePress) {
    CaptureRig rig;
    rig.frame.visible = rig.preview.visible = true;
    rig.options.pasteDirectly = rig.options.hideTarget = true;
    rig.options.pasteTargetIndex = 2;
    rig.options.targetWindow = 77;
    rig.commands.ArmWindowPick();
    EXPECT_EQ(rig.TakeCalls(), (Calls{"CopySystemCursor(32512)", "CopySystemCursor(32513)", "SetPickCursor(32512)",
                                      "SetPickCursor(32513)", "Frame.Close", "Preview.Close", "ShowWindow(77,6)",
                                      "Sleep(200)", "Helper.SetCapture", "SetLeft(-820)"}));
    EXPECT_TRUE(rig.commands.WindowPickArmed);
    EXPECT_EQ(rig.mainWindow.left, -820);

    rig.commands.FinishWindowPick();
    EXPECT_EQ(rig.TakeCalls(), Join({{"Helper.StopListening"},
                                     kBackWithCursors,
                                     {"CaptureWindowUnderPointer", "Copy(3)", "MakePromisedForms", "ShowWindow(77,9)"},
                                     kCtrlV,
                                     {"Preview.ShowWithoutActivating"}}));
    EXPECT_EQ(rig.image.DisplayedWidth(), 40);
    EXPECT_FALSE(rig.commands.WindowPickArmed);

    rig.commands.FinishWindowPick();  // the same press reaching the helper a second way
    rig.commands.CancelWindowPick();
    EXPECT_TRUE(rig.TakeCalls().empty());
}

TEST(WindowPick, FailedGrabLeavesTheDocumentEmptyAndTheCursorsBack) {
    CaptureRig rig;
    rig.image.Capture(0, 0, 0, 10, 10);
    rig.capture.status = imaging::kNoActiveWindow;
    rig.commands.ArmWindowPick();
    rig.TakeCalls();
    rig.commands.FinishWindowPick();
    EXPECT_EQ(rig.TakeCalls(), Join({{"Helper.StopListening"}, kBackWithCursors, {"CaptureWindowUnderPointer"}}));
    EXPECT_FALSE(rig.image.HoldsImage());
}

// Escape, or the program ending, while armed: no capture, everything back.
TEST(WindowPick, CancelPutsEverythingBackWithoutCapturing) {
    CaptureRig rig;
    rig.image.Capture(0, 0, 0, 10, 10);
    rig.TakeCalls();
    rig.commands.ArmWindowPick();
    EXPECT_EQ(rig.TakeCalls(), kPickArmed);
    rig.commands.CancelWindowPick();
    EXPECT_EQ(rig.TakeCalls(), Join({{"Helper.StopListening"}, kBackWithCursors}));
    EXPECT_FALSE(rig.image.HoldsImage());
    rig.commands.FinishWindowPick();
    EXPECT_TRUE(rig.TakeCalls().empty());
}

class ThrowingPickHelper final : public IPickHelper {
public:
    void SetCapture() override { throw std::runtime_error("no capture"); }
    void StopListening() override { ++stops; }
    int stops = 0;
};

TEST(WindowPick, FailureWhileArmingPutsTheCursorsBack) {
    CaptureRig rig;
    ThrowingPickHelper helper;
    CaptureCommands commands{CapturePorts{rig.mainWindow, rig.preview, rig.frame, rig.frameArea, rig.system,
                                          rig.system, rig.system, rig.system, rig.autoSave, rig.options, rig.image,
                                          rig.capture, helper, rig.notice}};
    EXPECT_THROW(commands.ArmWindowPick(), std::runtime_error);
    EXPECT_EQ(rig.TakeCalls(), (Calls{"CopySystemCursor(32512)", "CopySystemCursor(32513)", "SetPickCursor(32512)",
                                      "SetPickCursor(32513)", "Sleep(200)", "RestoreApplication",
                                      "RestoreSystemCursors(112,113)"}));
    EXPECT_FALSE(commands.WindowPickArmed);
    EXPECT_EQ(helper.stops, 1);
}

// Keys are typed only into a window that exists; otherwise the image stays on the clipboard.
TEST(Delivery, TypesOnlyIntoAnExistingTarget) {
    struct Case {
        WindowHandle target;
        bool closed;
        Calls deliver, hotKey;
    };
    const Case cases[] = {
        {0, false, {"Copy(3)"}, {"Copy(3)"}},
        {5, true, {"Copy(3)"}, {"Copy(3)"}},
        {5, false, Join({{"Copy(3)", "MakePromisedForms", "ShowWindow(5,9)", "BringWindowToTop(5)"}, kCtrlV}),
         Join({{"Copy(3)", "MakePromisedForms", "ShowWindow(5,0)", "ShowWindow(5,9)"}, kCtrlV})},
    };
    for (const Case& c : cases) {
        CaptureRig rig;
        rig.options.pasteDirectly = true;
        rig.options.pasteTargetIndex = 1;
        rig.options.targetWindow = c.target;
        if (c.closed) rig.system.closedWindows.insert(c.target);
        rig.image.Capture(0, 0, 0, 4, 4);
        rig.TakeCalls();
        rig.commands.DeliverImage();
        EXPECT_EQ(rig.TakeCalls(), c.deliver) << c.target << (c.closed ? " closed" : "");
        rig.commands.HotKeyDelivery();
        EXPECT_EQ(rig.TakeCalls(), c.hotKey) << c.target << (c.closed ? " closed" : "");
    }
}

} // namespace
} // namespace korvan
