// The program worked from the keyboard alone: the main window's toolbar takes the focus,
// keys move a visible mark over its buttons and press the marked one.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{sizeof(info)};
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// The mark is a frame in the colour of button texts just inside the button's edge.
bool MarkShownOn(const Program& program, Command command) {
    RECT button = program.ButtonRect(Id(command));
    imaging::Bitmap picture = GrabScreen(button.left, button.top, button.right - button.left, button.bottom - button.top);
    COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    imaging::Rgb mark{GetRValue(text), GetGValue(text), GetBValue(text)};
    int middleX = picture.Width() / 2, middleY = picture.Height() / 2;
    return picture.PixelAt(1, middleY) == mark && picture.PixelAt(picture.Width() - 2, middleY) == mark &&
           picture.PixelAt(middleX, 1) == mark && picture.PixelAt(middleX, picture.Height() - 2) == mark;
}

bool MarkOnlyOn(const Program& program, Command command) {
    for (const ToolButtonDesign& button : kToolButtons)
        if (button.visible && MarkShownOn(program, button.command) != (button.command == command)) return false;
    return true;
}

TEST(Keyboard, KeysAloneWorkTheToolbarToADesktopCapture) {
    Program program;
    PatternWindow pattern;
    program.Activate();
    ASSERT_TRUE(WaitFor([&] { return FocusOf(program.MainWindow()) == program.ToolBar(); }));
    // Before a key is used the mark shows only where the system asks for keyboard cues.
    BOOL cues = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    EXPECT_TRUE(WaitFor([&] { return MarkShownOn(program, Command::Save) == (cues != FALSE); }));

    // From the first button: Tab, four times Right, Down.
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return MarkOnlyOn(program, Command::Frame); }));
    for (int step = 0; step < 4; ++step) PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return MarkOnlyOn(program, Command::Desktop); }));
    SaveArtifact(program.MainWindow(), "main-window-keyboard-focus");

    RECT home = WindowRect(program.MainWindow());
    PressKey(VK_RETURN);
    HWND preview = program.FindForm(L"TImage");
    // Done when the preview shows and the main window is back in its place.
    ASSERT_TRUE(WaitFor([&] {
        return ::IsWindowVisible(preview) && WindowRect(program.MainWindow()).left == home.left;
    }));
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image->PixelAt(3, 700), PatternWindow::ExpectedAt(3, 700));

    // Back in the main window the mark is where it was; End, Shift+Tab over the hidden
    // help button, and Space presses the info button.
    program.Activate();
    ASSERT_TRUE(WaitFor([&] { return FocusOf(program.MainWindow()) == program.ToolBar(); }));
    ASSERT_TRUE(WaitFor([&] { return MarkOnlyOn(program, Command::Desktop); }));
    PressKey(VK_END);
    PressKey(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(WaitFor([&] { return MarkOnlyOn(program, Command::Info); }));
    PressKey(VK_SPACE);
    HWND info = program.FindForm(L"TAboutfrm");
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(info) && ::GetForegroundWindow() == info; }));

    // Alt+F4, which the exit button's hint names, ends the program.
    program.Activate();
    ASSERT_TRUE(WaitFor([&] { return FocusOf(program.MainWindow()) == program.ToolBar(); }));
    PressKey(VK_F4, {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !program.Running(); }));
}

} // namespace
} // namespace korvan::e2e
