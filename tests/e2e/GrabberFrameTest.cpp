// The grabber frame on screen: a ring in the window colour whose hole shows what lies
// beneath, captured through its inner panel, dragged by its ring.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

constexpr imaging::Rgb kWindowColour{251, 167, 76};

struct FrameRig {
    Program program;
    PatternWindow pattern;
    HWND frame = nullptr;
    FrameRig() {
        ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        program.ClickButton(Id(Command::Frame));
        frame = program.FindForm(L"TForm2");
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame) != 0; }));
        EXPECT_TRUE(WaitFor([&] { return RingPainted(); }));
    }
    // The ring's top edge shows the window colour on the screen.
    bool RingPainted() const {
        RECT rect = WindowRect(frame);
        imaging::Bitmap pixel = GrabScreen((rect.left + rect.right) / 2, rect.top + 3, 1, 1);
        return !pixel.Empty() && pixel.PixelAt(0, 0) == kWindowColour;
    }
};

TEST(GrabberFrame, IsARingWithTheScreenShowingThroughItsHole) {
    FrameRig rig;
    RECT rect = WindowRect(rig.frame);
    EXPECT_EQ(rect.left, 533);
    EXPECT_EQ(rect.top, 152);
    EXPECT_EQ(rect.right - rect.left, 266);
    EXPECT_TRUE(::GetWindowLongPtrW(rig.frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongPtrW(rig.frame, GWL_STYLE) & WS_CAPTION);

    imaging::Bitmap shot = GrabWindow(rig.frame);
    int width = shot.Width(), height = shot.Height();
    for (int i : {0, 3, 7}) {  // the ring, 8 pixels wide on every side
        EXPECT_EQ(shot.PixelAt(width / 2, i), kWindowColour) << i;
        EXPECT_EQ(shot.PixelAt(i, height / 2), kWindowColour) << i;
        EXPECT_EQ(shot.PixelAt(width - 1 - i, height / 2), kWindowColour) << i;
        EXPECT_EQ(shot.PixelAt(width / 2, height - 1 - i), kWindowColour) << i;
    }
    for (int y = 8; y < height - 8; y += 7)  // the hole shows the pattern beneath
        for (int x = 8; x < width - 8; x += 5)
            ASSERT_EQ(shot.PixelAt(x, y), PatternWindow::ExpectedAt(rect.left + x, rect.top + y)) << x << "," << y;
    SaveArtifact(::GetDesktopWindow(), "grabber-frame-over-pattern");
}

// The second press captures what shows through the inner panel; the frame stays.
TEST(GrabberFrame, SecondPressCapturesTheInnerPanel) {
    FrameRig rig;
    rig.program.ClickButton(Id(Command::Frame));
    HWND preview = rig.program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    EXPECT_TRUE(::IsWindowVisible(rig.frame));
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    RECT frame = WindowRect(rig.frame);
    RECT client{};
    ::GetClientRect(rig.frame, &client);
    POINT origin{0, 0};
    ::ClientToScreen(rig.frame, &origin);
    // InsidePanel keeps a 5-pixel margin inside the client area.
    EXPECT_EQ(image->Width(), client.right - 10);
    EXPECT_EQ(image->Height(), client.bottom - 10);
    int left = origin.x + 5, top = origin.y + 5;
    EXPECT_GT(left, frame.left + 7);  // inside the hole of the ring
    for (int y = 0; y < image->Height(); y += 3)
        for (int x = 0; x < image->Width(); x += 3)
            ASSERT_EQ(image->PixelAt(x, y), PatternWindow::ExpectedAt(left + x, top + y)) << x << "," << y;
}

// Dragging the ring with the left button moves the frame; the right button does nothing
// (the input comes in order, so the final place shows whether the right button moved it).
TEST(GrabberFrame, DragsByTheRingWithTheLeftButtonOnly) {
    FrameRig rig;
    RECT before = WindowRect(rig.frame);
    int x = (before.left + before.right) / 2, y = before.top + 4;
    ClickAt(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);

    MovePointerTo(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &input, sizeof(input));
    // The press starts the system's move loop in the program.
    DWORD thread = ::GetWindowThreadProcessId(rig.frame, nullptr);
    EXPECT_TRUE(WaitFor([&] {
        GUITHREADINFO info{sizeof(info)};
        return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
    }, std::chrono::seconds(3)));
    // Absolute steps: an echo of an earlier pointer position cannot shorten the way.
    for (int step = 1; step <= 10; ++step) MovePointerTo(x + 4 * step, y + 3 * step);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
    WaitFor([&] { return WindowRect(rig.frame).left == before.left + 40; }, std::chrono::seconds(3));
    RECT after = WindowRect(rig.frame);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

// After any resize the ring is again 8 pixels wide and the inner panel keeps its margin.
TEST(GrabberFrame, RingAndPanelFollowEveryResize) {
    FrameRig rig;
    ::SetWindowPos(rig.frame, nullptr, 200, 300, 401, 157, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return rig.RingPainted() && WindowRect(rig.frame).right == 601; }));
    imaging::Bitmap shot = SteadyPicture(rig.frame);
    ASSERT_EQ(shot.Width(), 401);
    ASSERT_EQ(shot.Height(), 157);
    EXPECT_EQ(shot.PixelAt(400, 100), kWindowColour);
    EXPECT_EQ(shot.PixelAt(393, 100), kWindowColour);
    EXPECT_EQ(shot.PixelAt(392, 100), PatternWindow::ExpectedAt(200 + 392, 300 + 100));
    EXPECT_EQ(shot.PixelAt(200, 149), kWindowColour);
    EXPECT_EQ(shot.PixelAt(200, 148), PatternWindow::ExpectedAt(200 + 200, 300 + 148));
    RECT client{}, panel{};
    ::GetClientRect(rig.frame, &client);
    POINT origin{0, 0};
    ::ClientToScreen(rig.frame, &origin);
    HWND panel1 = ::GetWindow(rig.frame, GW_CHILD);
    HWND panel2 = ::GetWindow(panel1, GW_CHILD);
    ::GetWindowRect(panel2, &panel);
    EXPECT_EQ(panel.left - origin.x, 5);
    EXPECT_EQ(panel.top - origin.y, 5);
    EXPECT_EQ(panel.right - origin.x, client.right - 5);
    EXPECT_EQ(panel.bottom - origin.y, client.bottom - 5);
}

// The hide button hides it.
TEST(GrabberFrame, HideButtonHidesIt) {
    FrameRig rig;
    rig.program.ClickButton(Id(Command::HideFrame));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(rig.frame) == 0; }));
}

} // namespace
} // namespace korvan::e2e
