// The captures the user steers with the mouse, seen from outside and driven with real
// pointer events: the window pick ended by a right press on another program's window (the
// press reaches nobody else), Escape calling a pick or an area capture off, and Print
// Screen over the grabber frame.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"
#include "support/win32/WinePath.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

const wchar_t kPickMarker[] = L"Software\\KorvanScreenshot\\PickCursorShown";

// A borderless window of the driver's that counts the presses it receives.
class TargetWindow {
public:
    static constexpr int kLeft = 60, kTop = 80, kWidth = 300, kHeight = 200;
    TargetWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"KorvanPickTarget";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"KorvanPickTarget", L"Target", WS_POPUP | WS_VISIBLE, kLeft, kTop,
                                  kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::UpdateWindow(hwnd_);
        presses_ = 0;
        WaitFor([] {  // painted on the screen in the grey of its background
            imaging::Bitmap corner = GrabScreen(kLeft + 1, kTop + 1, 1, 1);
            return !corner.Empty() && corner.PixelAt(0, 0) == imaging::Rgb{128, 128, 128};
        });
    }
    ~TargetWindow() { ::DestroyWindow(hwnd_); }
    static int Presses() { return presses_; }
    POINT Centre() const { return {kLeft + kWidth / 2, kTop + kHeight / 2}; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) ++presses_;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline int presses_ = 0;
    HWND hwnd_ = nullptr;
};

bool MainWindowAt(const Program& program, int left) { return WindowRect(program.MainWindow()).left == left; }

// Arms the window pick from the toolbar: the main window's place before, once the window
// has moved out of every picture (an empty rectangle when it did not).
RECT ArmWindowPick(Program& program) {
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT home = WindowRect(program.MainWindow());
    program.ClickButton(Id(Command::Window));
    bool away = WaitFor([&] { return MainWindowAt(program, VirtualScreen().left - (home.right - home.left)); });
    return away ? home : RECT{};
}

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

// The capture's overlay over the frozen screen, once it shows.
HWND WaitForOverlay(const Program& program) {
    HWND overlay = nullptr;
    WaitFor([&] {
        overlay = program.FindForm(L"KorvanCaptureOverlay");
        return overlay && ::IsWindowVisible(overlay);
    });
    return overlay;
}

// Real pointer events on the X display, as a user's mouse makes them (xdotool, started
// through the shell, which leaves a file behind when it is done). Messages are pumped
// meanwhile: our own windows turn the events into input as they arrive.
void Xdotool(const std::string& arguments) {
    static int run = 0;
    std::string done = "/tmp/korvan-xdotool-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++run);
    std::string script = "xdotool " + arguments + "; touch " + done;
    std::wstring command = L"sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        ADD_FAILURE() << "the shell did not start";
        return;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    std::wstring marker = test::WindowsPath(std::wstring(done.begin(), done.end()));
    EXPECT_TRUE(WaitFor([&] { return ::GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << arguments;
    ::DeleteFileW(marker.c_str());
    PumpMessages(std::chrono::milliseconds(50));
}

std::string Move(POINT p) { return "mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y) + " "; }

// The window pick: the click moves the main window away; a right press on another
// program's window ends it, reaches nobody but us, and puts everything back.
TEST(WindowPick, RightPressOnAnotherProgramsWindowEndsIt) {
    // A run that ended while the pick cursor showed left its marker; the next start clears it.
    WriteDword(kPickMarker, L"left", 1);
    Program program;
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kPickMarker); }));
    PatternWindow pattern;
    TargetWindow target;

    RECT before = ArmWindowPick(program);
    ASSERT_FALSE(::IsRectEmpty(&before));
    EXPECT_TRUE(KeyExists(kPickMarker));
    SaveArtifact(::GetDesktopWindow(), "window-pick-armed");

    Xdotool(Move(target.Centre()) + "click 3");
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, before.left); }));
    // The program decided the press's fate before it came back: had it passed the press
    // on, it would wait in our queue now.
    PumpMessages(std::chrono::milliseconds(0));
    EXPECT_EQ(TargetWindow::Presses(), 0);
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kPickMarker); }));
}

// A press on one of the program's own windows ends the pick too (the info window stays
// open through a capture). The bare desktop cannot be tried here: under Wine without a
// desktop window no program hears presses on the X root.
TEST(WindowPick, PressOnOurOwnWindowEndsIt) {
    Program program;
    program.ClickButton(Id(Command::Info));
    HWND info = program.FindForm(L"TAboutfrm");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(info) != 0; }));
    RECT infoRect = WindowRect(info);
    RECT before = ArmWindowPick(program);
    ASSERT_FALSE(::IsRectEmpty(&before));
    Xdotool(Move({(infoRect.left + infoRect.right) / 2, infoRect.bottom - 8}) + "click 1");
    EXPECT_TRUE(WaitFor([&] { return MainWindowAt(program, before.left); }));
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kPickMarker); }));
    EXPECT_TRUE(::IsWindowVisible(info));
}

// Escape calls the pick off: the main window comes back, and later clicks reach their
// windows again, the program's own toolbar included.
TEST(WindowPick, EscapeCallsItOff) {
    Program program;
    PatternWindow pattern;
    TargetWindow target;
    PutTextOnClipboard(L"kept");
    DWORD clipboard = ::GetClipboardSequenceNumber();

    RECT before = ArmWindowPick(program);
    ASSERT_FALSE(::IsRectEmpty(&before));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return MainWindowAt(program, before.left); }));
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kPickMarker); }));
    EXPECT_EQ(::GetClipboardSequenceNumber(), clipboard);

    Xdotool(Move(target.Centre()) + "click 1");
    EXPECT_TRUE(WaitFor([] { return TargetWindow::Presses() == 1; }));
    EXPECT_NE(program.CaptureDesktop(), nullptr);
}

// Print Screen while a pick is armed calls the pick off first (cursors back, nothing
// listening any more) and captures the desktop; a later click reaches its window.
TEST(WindowPick, PrintScreenCallsItOffAndLaterClicksReachTheirWindows) {
    Program program;
    PatternWindow pattern;
    TargetWindow target;
    RECT before = ArmWindowPick(program);
    ASSERT_FALSE(::IsRectEmpty(&before));
    ASSERT_TRUE(KeyExists(kPickMarker));

    PressKey(VK_SNAPSHOT);
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) && MainWindowAt(program, before.left); }));
    EXPECT_TRUE(WaitFor([] { return !KeyExists(kPickMarker); }));
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), ::GetSystemMetrics(SM_CXSCREEN));

    Xdotool(Move(target.Centre()) + "click 1");
    EXPECT_TRUE(WaitFor([] { return TargetWindow::Presses() == 1; }));
}

// Escape calls an area capture off: the document is emptied, the clipboard keeps what it
// held, no preview shows and the main window is back.
TEST(AreaCapture, EscapeLeavesTheDocumentEmptyAndTheClipboardUnchanged) {
    Program program;
    PatternWindow pattern;
    HWND preview = program.CaptureDesktop();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left >= 0; }));  // back from the capture
    RECT before = WindowRect(program.MainWindow());
    PutTextOnClipboard(L"kept");
    DWORD clipboard = ::GetClipboardSequenceNumber();

    program.ClickButton(Id(Command::Area));
    HWND overlay = WaitForOverlay(program);
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == overlay; }));
    SaveArtifact(::GetDesktopWindow(), "area-capture-before-escape");
    Xdotool("key Escape");
    // The program delivers before it puts its main window back: nothing can come later.
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(overlay) && MainWindowAt(program, before.left); }));
    EXPECT_EQ(::GetClipboardSequenceNumber(), clipboard);
    EXPECT_FALSE(::IsWindowVisible(preview));

    // Shown from outside, the preview paints nothing but its silver background.
    ::ShowWindow(preview, SW_SHOWNOACTIVATE);
    ::SetWindowPos(preview, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND control = ::FindWindowExW(preview, nullptr, L"TShotImage", nullptr);
    ASSERT_NE(control, nullptr);
    RECT client{};
    ::GetClientRect(control, &client);
    POINT origin{0, 0};
    ::ClientToScreen(control, &origin);
    EXPECT_TRUE(WaitFor([&] {
        imaging::Bitmap shot = GrabScreen(origin.x, origin.y, client.right, client.bottom);
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (!(shot.PixelAt(x, y) == imaging::Rgb{192, 192, 192})) return false;
        return !shot.Empty();
    }));
    SaveArtifact(preview, "preview-after-cancelled-area");
}

// Print Screen over the shown frame captures what shows through its inner panel.
TEST(PrintScreen, CapturesTheFramesInsideWhileTheFrameShows) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HWND frame = program.ShowFrame();
    ASSERT_TRUE(frame);
    program.Activate();
    PressKey(VK_SNAPSHOT);
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    std::optional<imaging::Bitmap> image = ClipboardImage();
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
