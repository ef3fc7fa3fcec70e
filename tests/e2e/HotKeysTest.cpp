// System-wide keys pressed as a keyboard would: Print Screen captures, the frame keys
// move and resize the frame while the program is active, Alt+F5 toggles them.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

const wchar_t kCursor[] = L"Software\\Snapdeck2\\keysettings\\Cursor";

void EnableFrameKeysForNextStart() {
    // As "Enable" and "Store for further session" would leave them.
    Program first;  // the first run writes the defaults
    ::PostMessageW(first.MainWindow(), WM_CLOSE, 0, 0);
    WaitFor([&] { return !first.Running(); });
    WriteDword(kCursor, L"enable", 1);
    WriteDword(kCursor, L"further", 1);
}

TEST(HotKeys, PrintScreenCapturesTheDesktop) {
    Program program;
    PatternWindow pattern;
    program.Activate();
    PressKey(VK_SNAPSHOT);
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image->PixelAt(3, 700), PatternWindow::ExpectedAt(3, 700));
}

TEST(HotKeys, FrameKeysMoveAndResizeTheHiddenFrameWhileActive) {
    EnableFrameKeysForNextStart();
    Program program;
    HWND frame = program.FindForm(L"TForm2");
    program.Activate();
    RECT start = WindowRect(frame);
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN, {VK_MENU});
    PressKey(VK_RIGHT, {VK_CONTROL});
    PressKey(VK_UP, {VK_SHIFT});
    // Right moves, Alt+Down moves, Ctrl+Right widens, Shift+Up makes it lower.
    const RECT expected{start.left + 5, start.top + 1, start.right + 10, start.bottom};
    EXPECT_TRUE(WaitFor([&] {
        RECT now = WindowRect(frame);
        return ::EqualRect(&expected, &now) != 0;
    }, std::chrono::seconds(3)));
    RECT moved = WindowRect(frame);
    EXPECT_EQ(moved.left, start.left + 5);
    EXPECT_EQ(moved.top, start.top + 1);
    EXPECT_EQ(moved.right - moved.left, start.right - start.left + 5);
    EXPECT_EQ(moved.bottom - moved.top, start.bottom - start.top - 1);
    EXPECT_FALSE(::IsWindowVisible(frame));
    // The hidden frame shows at its new place.
    program.ClickButton(Id(Command::Frame));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame) != 0; }));
    EXPECT_EQ(WindowRect(frame).left, moved.left);
    EXPECT_EQ(WindowRect(frame).bottom, moved.bottom);

    // Another application active: the keys are off. Keys come in order, so after Right
    // (ignored) and, active again, Left, the frame stands 5 to the left.
    ActivateDriver();
    EXPECT_TRUE(WaitFor([] { return !KeyTaken(0, VK_RIGHT); }));
    PressKey(VK_RIGHT);
    program.Activate();
    ASSERT_TRUE(WaitFor([] { return KeyTaken(0, VK_LEFT); }));
    PressKey(VK_LEFT);
    EXPECT_TRUE(WaitFor([&] { return WindowRect(frame).left == moved.left - 5; }, std::chrono::seconds(3)));
}

TEST(HotKeys, AltF5TogglesTheFrameKeys) {
    EnableFrameKeysForNextStart();
    Program program;
    HWND frame = program.FindForm(L"TForm2");
    program.Activate();
    int left = WindowRect(frame).left;
    // Off: Left is ignored; on again: Right moves. Keys come in order, so the frame ends
    // 5 to the right only if Left did nothing.
    PressKey(VK_F5, {VK_MENU});
    ASSERT_TRUE(WaitFor([] { return !KeyTaken(0, VK_LEFT); }));
    PressKey(VK_LEFT);
    PressKey(VK_F5, {VK_MENU});
    ASSERT_TRUE(WaitFor([] { return KeyTaken(0, VK_LEFT); }));
    PressKey(VK_RIGHT);
    EXPECT_TRUE(WaitFor([&] { return WindowRect(frame).left == left + 5; }, std::chrono::seconds(3)));
}

// Keys held by another program before the start: one notice names each of them.
TEST(HotKeys, TakenKeysAreReportedByName) {
    HWND holder = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(holder, 1, 0, VK_SNAPSHOT));
    ASSERT_TRUE(::RegisterHotKey(holder, 2, MOD_ALT, VK_F5));
    Program program;
    std::wstring text;
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = FindMessageBox(program.ProcessId(), L"Print Screen", &text)) != nullptr; }));
    EXPECT_NE(text.find(L"another program"), std::wstring::npos);
    EXPECT_NE(text.find(L"\n    Alt+F5\n"), std::wstring::npos) << "one notice names both";
    if (box) SaveArtifact(box, "hot-key-conflict-message");
    if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ::UnregisterHotKey(holder, 1);
    ::UnregisterHotKey(holder, 2);
    ::DestroyWindow(holder);
}

// After a restart with a stored place, keys pressed before the frame's first show move it
// from that place, and it shows where they put it.
TEST(HotKeys, HiddenFrameMovedAfterARestartShowsWhereTheKeysPutIt) {
    {
        Program program;
        HWND frame = program.ShowFrame();
        ASSERT_TRUE(frame);
        ::SetWindowPos(frame, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(frame).top == 310; }));
        ::PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !program.Running(); }));
    }
    WriteDword(kCursor, L"enable", 1);
    WriteDword(kCursor, L"further", 1);
    Program program;
    HWND frame = program.FindForm(L"TForm2");
    program.Activate();
    for (int press = 0; press < 3; ++press) PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(frame).left == 315; }, std::chrono::seconds(3)));
    program.ClickButton(Id(Command::Frame));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame) != 0; }));
    Settle(program.MainWindow());  // the click's handling has ended
    EXPECT_EQ(WindowRect(frame).left, 315);
    EXPECT_EQ(WindowRect(frame).top, 310);
}

} // namespace
} // namespace korvan::e2e
