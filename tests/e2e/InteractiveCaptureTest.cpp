// The captures the user steers with the mouse, seen from outside: the window clicked
// next (with any button, on another program's window), Escape calling a capture off,
// and Print Screen over the grabber frame.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

const wchar_t kPickMarker[] = L"Software\\KorvanScreenshot\\PickCursorShown";

// A borderless window of the driver's, painted with a pattern of its own, that counts
// the presses it receives.
class TargetWindow {
public:
    static constexpr int kLeft = 60, kTop = 80, kWidth = 300, kHeight = 200;
    TargetWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvanPickTarget";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"KorvanPickTarget", L"Target", WS_POPUP | WS_VISIBLE, kLeft, kTop,
                                  kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::UpdateWindow(hwnd_);
        presses_ = 0;
        PumpMessages(std::chrono::milliseconds(200));
    }
    ~TargetWindow() { ::DestroyWindow(hwnd_); }
    // Client pixel (x, y): shifted from the screen pattern, so it differs from what lies beneath.
    static sdk::Rgb ExpectedAt(int x, int y) { return PatternWindow::ExpectedAt(x + 17, y + 29); }
    static int Presses() { return presses_; }
    POINT Centre() const { return {kLeft + kWidth / 2, kTop + kHeight / 2}; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) ++presses_;
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    sdk::Rgb c = ExpectedAt(x, y);
                    ::SetPixelV(dc, x, y, RGB(c.r, c.g, c.b));
                }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline int presses_ = 0;
    HWND hwnd_ = nullptr;
};

bool MainWindowAt(const Program& program, int left) { return WindowRect(program.MainWindow()).left == left; }

void PutTextOnClipboard(const wchar_t* text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(::GlobalLock(memory), text, bytes);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

// The window pick: the click moves the main window away; a right press on another
// program's window ends it, reaches nobody but us, and puts everything back.
TEST(WindowPick, RightPressOnAnotherProgramsWindowEndsIt) {
    // A run that ended while the pick cursor showed left its marker; the next start clears it.
    WriteDword(kPickMarker, L"left", 1);
    Program program;
    EXPECT_FALSE(KeyExists(kPickMarker));
    PatternWindow pattern;
    TargetWindow target;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT before = WindowRect(program.MainWindow());

    program.ClickButton(Id(Command::Window));
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, -2 * (before.right - before.left)); }));
    EXPECT_TRUE(KeyExists(kPickMarker));
    PumpMessages(std::chrono::milliseconds(300));  // the pick's own 200 ms
    SaveArtifact(::GetDesktopWindow(), "window-pick-armed");

    POINT centre = target.Centre();
    ClickAt(centre.x, centre.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, before.left); }));
    PumpMessages(std::chrono::milliseconds(200));
    EXPECT_EQ(TargetWindow::Presses(), 0);
    EXPECT_FALSE(KeyExists(kPickMarker));
}

// Escape calls the pick off: the main window comes back, and later clicks reach their
// windows again, the program's own toolbar included.
TEST(WindowPick, EscapeCallsItOff) {
    Program program;
    PatternWindow pattern;
    TargetWindow target;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT before = WindowRect(program.MainWindow());
    PutTextOnClipboard(L"kept");
    DWORD clipboard = ::GetClipboardSequenceNumber();

    program.ClickButton(Id(Command::Window));
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, -2 * (before.right - before.left)); }));
    PumpMessages(std::chrono::milliseconds(300));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, before.left); }));
    EXPECT_FALSE(KeyExists(kPickMarker));
    EXPECT_EQ(::GetClipboardSequenceNumber(), clipboard);

    POINT centre = target.Centre();
    ClickAt(centre.x, centre.y);
    EXPECT_TRUE(WaitFor([] { return TargetWindow::Presses() == 1; }));
    EXPECT_NE(program.CaptureDesktop(), nullptr);
}

// Print Screen over the shown frame captures what shows through its inner panel.
TEST(PrintScreen, CapturesTheFramesInsideWhileTheFrameShows) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    program.ClickButton(Id(Command::Frame));
    HWND frame = program.FindForm(L"TForm2");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame) != 0; }));
    program.Activate();
    PressKey(VK_SNAPSHOT);
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    std::optional<sdk::SdkBitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    RECT client{};
    ::GetClientRect(frame, &client);
    POINT origin{5, 5};  // the inner panel keeps a 5-pixel margin
    ::ClientToScreen(frame, &origin);
    ASSERT_EQ(image->Width(), client.right - 10);
    ASSERT_EQ(image->Height(), client.bottom - 10);
    for (int y = 0; y < image->Height(); y += 3)
        for (int x = 0; x < image->Width(); x += 3)
            ASSERT_EQ(image->PixelAt(x, y), PatternWindow::ExpectedAt(origin.x + x, origin.y + y)) << x << "," << y;
    EXPECT_TRUE(::IsWindowVisible(frame));
}

} // namespace
} // namespace korvan::e2e
