// The main window as a user meets it: start, toolbar, commands, exit.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace korvan::e2e {
namespace {

// Start-up creates every window once; only the main window is shown, centred.
TEST(MainWindow, StartsWithOnlyTheMainToolWindowShownCentred) {
    Program program;
    HWND main = program.MainWindow();
    wchar_t title[64];
    ::GetWindowTextW(main, title, 64);
    EXPECT_STREQ(title, L"Korvan Screenshot 2.3");
    EXPECT_TRUE(::GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    LONG_PTR style = ::GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    for (const wchar_t* form : {L"TImage", L"TForm2", L"Toptionfrm", L"TAboutfrm", L"Thelpfrm"}) {
        HWND window = program.FindForm(form);
        ASSERT_NE(window, nullptr) << "missing window of class " << form;
        EXPECT_FALSE(::IsWindowVisible(window)) << form;
    }

    RECT rect = WindowRect(main);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((rect.left + rect.right) / 2, screenWidth / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, screenHeight / 2, 1);
    PumpMessages(std::chrono::milliseconds(300));
    SaveArtifact(main, "main-window");
}

// Ten visible flat buttons of 39 x 38 in one row, the help button hidden; the window
// fits them with a 5-pixel border.
TEST(MainWindow, ToolbarHoldsTheDesignedButtons) {
    Program program;
    HWND toolBar = program.ToolBar();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(::GetWindowLongPtrW(toolBar, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_EQ(::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0), 11);
    int visible = 0;
    RECT previous{};
    for (const ToolButtonDesign& design : kToolButtons) {
        bool hidden = ::SendMessageW(toolBar, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(design.command), 0) != 0;
        EXPECT_EQ(hidden, !design.visible) << design.name;
        if (hidden) continue;
        RECT rect = program.ButtonRect(Id(design.command));
        EXPECT_EQ(rect.right - rect.left, 39) << design.name;
        EXPECT_EQ(rect.bottom - rect.top, 38) << design.name;
        if (visible++) {
            EXPECT_EQ(rect.left, previous.right) << design.name;
            EXPECT_EQ(rect.top, previous.top) << design.name;
        }
        previous = rect;
    }
    EXPECT_EQ(visible, 10);
    RECT client{}, bar = WindowRect(toolBar);
    ::GetClientRect(program.MainWindow(), &client);
    POINT origin{0, 0};
    ::ClientToScreen(program.MainWindow(), &origin);
    EXPECT_EQ(bar.left - origin.x, 5);
    EXPECT_EQ(bar.top - origin.y, 5);
    EXPECT_EQ(client.right, 5 + 10 * 39 + 5);
    EXPECT_EQ(client.bottom, 5 + 38 + 5);
}

// The small toolbar: 22 x 21 buttons with 19 x 19 pictures; the window shrinks to fit.
TEST(MainWindow, SmallToolbarShrinksTheWindow) {
    Program program;
    ::SendMessageW(program.MainWindow(), WM_COMMAND, Id(Command::SmallToolbar), 0);
    RECT rect = program.ButtonRect(Id(Command::Desktop));
    EXPECT_EQ(rect.right - rect.left, 22);
    EXPECT_EQ(rect.bottom - rect.top, 21);
    RECT client{};
    ::GetClientRect(program.MainWindow(), &client);
    EXPECT_EQ(client.right, 5 + 10 * 22 + 5);
    PumpMessages(std::chrono::milliseconds(200));
    SaveArtifact(program.MainWindow(), "main-window-small-toolbar");
    ::SendMessageW(program.MainWindow(), WM_COMMAND, Id(Command::LargeToolbar), 0);
    rect = program.ButtonRect(Id(Command::Desktop));
    EXPECT_EQ(rect.right - rect.left, 39);
}

// Options and info show their windows without hiding the main window; exit ends the program.
TEST(MainWindow, OptionsInfoAndExitButtons) {
    Program program;
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    // While it is open the main window waits off the desktop.
    EXPECT_LT(WindowRect(program.MainWindow()).right, 0);
    PumpMessages(std::chrono::milliseconds(200));
    SaveArtifact(options, "options-window");
    // Its close box only hides it; the window lives on.
    ::PostMessageW(options, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    EXPECT_TRUE(::IsWindow(options));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left > 0; }));  // back in place
    program.ClickButton(Id(Command::Info));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"TAboutfrm")) != 0; }));
    PumpMessages(std::chrono::milliseconds(200));
    SaveArtifact(program.FindForm(L"TAboutfrm"), "info-window");
    ::PostMessageW(program.FindForm(L"TAboutfrm"), WM_CLOSE, 0, 0);
    PumpMessages(std::chrono::milliseconds(200));
    program.ClickButton(Id(Command::Exit));
    EXPECT_TRUE(WaitFor([&] { return !program.Running(); }));
    EXPECT_EQ(program.ExitCode(), 0u);
}

} // namespace
} // namespace korvan::e2e
