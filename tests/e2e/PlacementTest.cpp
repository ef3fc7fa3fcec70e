// Windows reopen where they were: the main window, the preview and the grabber frame
// keep their placement in the registry across runs.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

void Exit(Program& program) {
    ::PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !program.Running(); }));
}

TEST(Placement, MainWindowReopensWhereItWasWithItsSize) {
    RECT first{};
    {
        Program program;
        first = WindowRect(program.MainWindow());
        ::SetWindowPos(program.MainWindow(), nullptr, 100, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == 100; }));
        Exit(program);
    }
    std::optional<std::wstring> normPos = ReadString(L"Software\\KorvanScreenshot\\TMainfrm", L"NormPos");
    ASSERT_TRUE(normPos.has_value());
    EXPECT_EQ(normPos->substr(0, 8), L"100,200,");
    Program program;
    RECT again = WindowRect(program.MainWindow());
    EXPECT_EQ(again.left, 100);
    EXPECT_EQ(again.top, 200);
    EXPECT_EQ(again.right - again.left, first.right - first.left);
}

TEST(Placement, PreviewReopensWithItsSizeAndPosition) {
    {
        Program program;
        program.ClickButton(Id(Command::Desktop));
        HWND preview = program.FindForm(L"TImage");
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
        ::SetWindowPos(preview, nullptr, 50, 60, 500, 400, SWP_NOZORDER);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(preview).right == 550; }));
        ::PostMessageW(preview, WM_CLOSE, 0, 0);  // hides it and stores its placement
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) == 0; }));
        Exit(program);
    }
    Program program;
    program.ClickButton(Id(Command::Desktop));
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    RECT rect = WindowRect(preview);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_EQ(rect.bottom - rect.top, 400);
    SaveArtifact(preview, "preview-500x400");
}

TEST(Placement, FrameShownAtExitReopensWhereItWas) {
    {
        Program program;
        HWND frame = program.ShowFrame();
        ASSERT_TRUE(frame);
        ::SetWindowPos(frame, nullptr, 300, 310, 320, 180, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(frame).bottom == 490; }));
        Exit(program);
    }
    EXPECT_EQ(ReadString(L"Software\\KorvanScreenshot\\TForm2", L"Visible"), L"1");
    Program program;
    HWND frame = program.FindForm(L"TForm2");
    EXPECT_FALSE(::IsWindowVisible(frame));  // hidden at start all the same
    program.ClickButton(Id(Command::Frame));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame) != 0; }));
    RECT rect = WindowRect(frame);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 310);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 180);
}

} // namespace
} // namespace korvan::e2e
