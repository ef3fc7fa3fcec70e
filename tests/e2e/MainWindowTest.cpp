// The main window as a user meets it: start, toolbar, commands, exit.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

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
    SaveArtifact(main, "main-window");
}

// The windows the task bar and Alt+Tab list: shown, and unowned tool-less or app windows.
std::vector<HWND> TaskBarWindows(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> context{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& [process, found] = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
            bool listed = (exStyle & WS_EX_APPWINDOW) ||
                          (!::GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW));
            if (owner == process && ::IsWindowVisible(window) && listed) found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    return context.second;
}

// One task-bar entry: an application window of no size, titled "Korvan Screenshot", owns
// every other window and stays the only one listed whatever is open. Minimised, it takes
// the program away; the next capture brings it back.
TEST(MainWindow, OneApplicationWindowOwnsTheOthers) {
    Program program;
    HWND application = ::GetWindow(program.MainWindow(), GW_OWNER);
    ASSERT_NE(application, nullptr);
    wchar_t title[64] = {};
    ::GetWindowTextW(application, title, 64);
    EXPECT_STREQ(title, L"Korvan Screenshot");
    RECT rect = WindowRect(application);
    EXPECT_TRUE(rect.right == rect.left && rect.bottom == rect.top);
    for (const wchar_t* form : {L"TImage", L"TForm2", L"Toptionfrm", L"TAboutfrm", L"Thelpfrm"})
        EXPECT_EQ(::GetWindow(program.FindForm(form), GW_OWNER), application) << form;

    const std::vector<HWND> onlyTheApplication{application};
    EXPECT_EQ(TaskBarWindows(program.ProcessId()), onlyTheApplication);
    ASSERT_NE(program.CaptureDesktop(), nullptr);
    EXPECT_EQ(TaskBarWindows(program.ProcessId()), onlyTheApplication);
    program.ClickButton(Id(Command::Options));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"Toptionfrm")) != 0; }));
    EXPECT_EQ(TaskBarWindows(program.ProcessId()), onlyTheApplication);
    ::PostMessageW(program.FindForm(L"Toptionfrm"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left > 0; }));

    ::PostMessageW(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(application) && !::IsWindowVisible(program.MainWindow()); }));
    ActivateDriver();
    PressKey(VK_SNAPSHOT);
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(application) && ::IsWindowVisible(program.MainWindow()); }));
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
        EXPECT_EQ(hidden, !design.visible) << "tag " << design.tag;
        if (hidden) continue;
        RECT rect = program.ButtonRect(Id(design.command));
        EXPECT_EQ(rect.right - rect.left, 39) << "tag " << design.tag;
        EXPECT_EQ(rect.bottom - rect.top, 38) << "tag " << design.tag;
        if (visible++) {
            EXPECT_EQ(rect.left, previous.right) << "tag " << design.tag;
            EXPECT_EQ(rect.top, previous.top) << "tag " << design.tag;
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

// Chooses a toolbar size in the options, as a user does, and closes them again.
void ChooseToolbarSize(Program& program, const wchar_t* caption) {
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    HWND choice = ChildWithText(options, caption);
    ASSERT_NE(choice, nullptr) << "no " << caption;
    ::SendMessageW(choice, BM_CLICK, 0, 0);
    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left > 0; }));
}

// The small toolbar: 22 x 21 buttons with 19 x 19 pictures; the window shrinks to fit.
TEST(MainWindow, SmallToolbarShrinksTheWindow) {
    Program program;
    ChooseToolbarSize(program, L"Toolbarsize 19 x 19");
    RECT rect = program.ButtonRect(Id(Command::Desktop));
    EXPECT_EQ(rect.right - rect.left, 22);
    EXPECT_EQ(rect.bottom - rect.top, 21);
    RECT client{};
    ::GetClientRect(program.MainWindow(), &client);
    EXPECT_EQ(client.right, 5 + 10 * 22 + 5);
    SaveArtifact(program.MainWindow(), "main-window-small-toolbar");
    ChooseToolbarSize(program, L"Toolbarsize 32 x 32");
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
    EXPECT_LE(WindowRect(program.MainWindow()).right, VirtualScreen().left);
    SaveArtifact(options, "options-window");
    // Its close box only hides it; the window lives on.
    ::PostMessageW(options, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) == 0; }));
    EXPECT_TRUE(::IsWindow(options));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left > 0; }));  // back in place
    program.ClickButton(Id(Command::Info));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"TAboutfrm")) != 0; }));
    SaveArtifact(program.FindForm(L"TAboutfrm"), "info-window");
    ::PostMessageW(program.FindForm(L"TAboutfrm"), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"TAboutfrm")) == 0; }));
    program.ClickButton(Id(Command::Exit));
    EXPECT_TRUE(WaitFor([&] { return !program.Running(); }));
    EXPECT_EQ(program.ExitCode(), 0u);
}

} // namespace
} // namespace korvan::e2e
