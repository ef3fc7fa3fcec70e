// One copy per user session: a second start brings the running copy forward and ends.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

// Minimised and behind another program, the first copy comes back to the front; the
// second start ends at once without keys or notices of its own, and Print Screen still
// belongs to the first copy.
TEST(OneInstance, SecondStartBringsTheMinimisedFirstForwardAndEnds) {
    Program program;
    HWND main = program.MainWindow();
    HWND application = ::GetWindow(main, GW_OWNER);
    ::PostMessageW(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(application) && !::IsWindowVisible(main); }));
    ActivateDriver();

    std::optional<DWORD> exitCode = StartAgainAndWait();
    ASSERT_TRUE(exitCode.has_value()) << "the second start did not end";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_TRUE(WaitFor([&] {
        return !::IsIconic(application) && ::IsWindowVisible(main) && ::GetForegroundWindow() == main;
    }));
    EXPECT_EQ(ProgramProcessCount(), 1);
    Settle(main);
    EXPECT_EQ(FindMessageBox(program.ProcessId(), L""), nullptr) << "no notice about keys taken by itself";
    SaveArtifact(main, "main-window-after-second-start");

    EXPECT_TRUE(KeyTaken(0, VK_SNAPSHOT));
    PressKey(VK_SNAPSHOT);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"TImage")) != 0; }));
}

// With the options dialog open, a second start brings that dialog forward: it is the
// window the user worked in.
TEST(OneInstance, SecondStartBringsTheOpenDialogForward) {
    Program program;
    program.ClickButton(Id(Command::Options));
    HWND options = program.FindForm(L"Toptionfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(options) != 0; }));
    ActivateDriver();
    EXPECT_EQ(StartAgainAndWait(), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == options; }));
    EXPECT_EQ(ProgramProcessCount(), 1);
}

} // namespace
} // namespace korvan::e2e
