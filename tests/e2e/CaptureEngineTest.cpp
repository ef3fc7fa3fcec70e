// Area, object and window captures through the program's own buttons, drawn with real
// mouse input over a known pattern: the clipboard receives exactly the pixels chosen.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace korvan::e2e {
namespace {

using namespace std::chrono_literals;

bool ScreenPixelIs(int x, int y, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    COLORREF now = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return now == colour;
}

HWND Overlay() {
    HWND overlay = ::FindWindowW(L"KorvanCaptureOverlay", nullptr);
    return overlay && ::IsWindowVisible(overlay) ? overlay : nullptr;
}

void SendMove(int x, int y) {
    INPUT input{INPUT_MOUSE};
    input.mi.dx = static_cast<LONG>((x * 65536LL + ::GetSystemMetrics(SM_CXSCREEN) - 1) / ::GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((y * 65536LL + ::GetSystemMetrics(SM_CYSCREEN) - 1) / ::GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

void SendButton(DWORD flags) {
    INPUT input{INPUT_MOUSE};
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

// Moves the pointer until the screen shows the condition and keeps showing it: the
// display server may still hand the program an echo of the pointer's earlier position
// (from the toolbar click), which would move it back.
bool MoveUntilSteady(int x, int y, const std::function<bool()>& shows) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendMove(x, y);
        if (!WaitFor(shows, 3s)) continue;
        bool steady = true;
        for (int i = 0; i < 5 && steady; ++i) {
            PumpMessages(20ms);
            steady = shows();
        }
        if (steady) return true;
    }
    return false;
}

// Moves the pointer until the overlay's red cross lines run through it.
bool MoveAndSee(int x, int y) {
    return MoveUntilSteady(x, y, [&] { return ScreenPixelIs(x, y - 40, RGB(255, 0, 0)) && ScreenPixelIs(x - 40, y, RGB(255, 0, 0)); });
}

// A window of ours with a child control, each painted with its own pattern.
class ControlWindow {
public:
    static constexpr int kLeft = 150, kTop = 120, kWidth = 400, kHeight = 300;
    static constexpr int kChildLeft = 60, kChildTop = 50, kChildWidth = 170, kChildHeight = 90;
    ControlWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvanControlHost";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Host", WS_POPUP | WS_VISIBLE, kLeft, kTop,
                                  kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
        child_ = ::CreateWindowExW(0, wc.lpszClassName, L"Control", WS_CHILD | WS_VISIBLE, kChildLeft, kChildTop,
                                   kChildWidth, kChildHeight, hwnd_, nullptr, wc.hInstance, nullptr);
        ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::UpdateWindow(hwnd_);
        WaitFor([] {  // both painted on the screen
            imaging::Rgb host = HostAt(1, 1), control = ControlAt(1, 1);
            return ScreenPixelIs(kLeft + 1, kTop + 1, RGB(host.r, host.g, host.b)) &&
                   ScreenPixelIs(kLeft + kChildLeft + 1, kTop + kChildTop + 1, RGB(control.r, control.g, control.b));
        });
    }
    ~ControlWindow() { ::DestroyWindow(hwnd_); }
    // The host's pixels are the screen pattern shifted; the control's are shifted further.
    static imaging::Rgb HostAt(int x, int y) { return PatternWindow::ExpectedAt(x + 11, y + 23); }
    static imaging::Rgb ControlAt(int x, int y) { return PatternWindow::ExpectedAt(x + 37, y + 5); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            bool child = (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
            RECT client{};
            ::GetClientRect(hwnd, &client);
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            for (int y = 0; y < client.bottom; ++y)
                for (int x = 0; x < client.right; ++x) {
                    imaging::Rgb c = child ? ControlAt(x, y) : HostAt(x, y);
                    ::SetPixelV(dc, x, y, RGB(c.r, c.g, c.b));
                }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
    HWND child_ = nullptr;
};

struct Session {
    Program program;
    PatternWindow pattern;
    RECT before{};
    DWORD clipboard = 0;
    Session() {
        ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        before = WindowRect(program.MainWindow());
        clipboard = ::GetClipboardSequenceNumber();
    }
    bool Restored() const {
        return WaitFor([&] { return WindowRect(program.MainWindow()).left == before.left; });
    }
    bool Delivered() const {
        HWND preview = program.FindForm(L"TImage");
        return WaitFor([&] { return ::GetClipboardSequenceNumber() != clipboard && ::IsWindowVisible(preview); });
    }
};

void ExpectImage(const imaging::Bitmap& image, int width, int height, const std::function<imaging::Rgb(int, int)>& expected) {
    ASSERT_EQ(image.Width(), width);
    ASSERT_EQ(image.Height(), height);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!(image.PixelAt(x, y) == expected(x, y)) && wrong++ < 3) ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(wrong, 0);
}

// The area button with no shape chosen: a rectangle dragged over the pattern.
TEST(AreaCapture, RectangleDraggedOverThePatternReachesTheClipboard) {
    Session s;
    s.program.ClickButton(Id(Command::Area));
    ASSERT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
    ASSERT_TRUE(MoveAndSee(230, 170));
    SendButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(MoveAndSee(330, 260));
    ASSERT_TRUE(MoveAndSee(517, 389));
    SaveArtifact(::GetDesktopWindow(), "area-capture-drawing");
    SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(s.Delivered());
    EXPECT_TRUE(s.Restored());
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    ExpectImage(*image, 517 - 230, 389 - 170, [](int x, int y) { return PatternWindow::ExpectedAt(230 + x, 170 + y); });
    SaveArtifact(s.program.FindForm(L"TImage"), "area-capture-preview");
}

// Escape calls the area off: nothing is delivered, the main window comes back.
TEST(AreaCapture, EscapeDeliversNothing) {
    Session s;
    s.program.ClickButton(Id(Command::Area));
    ASSERT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
    ASSERT_TRUE(MoveAndSee(300, 300));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([] { return Overlay() == nullptr; }));
    // The program delivers before it puts its main window back: nothing can come later.
    EXPECT_TRUE(s.Restored());
    EXPECT_EQ(::GetClipboardSequenceNumber(), s.clipboard);
    EXPECT_FALSE(::IsWindowVisible(s.program.FindForm(L"TImage")));
}

// The object button: the control under the pointer is outlined; a click captures exactly it.
TEST(ObjectCapture, ClickOnAControlCapturesExactlyTheControl) {
    Session s;
    ControlWindow window;
    s.program.ClickButton(Id(Command::Object));
    ASSERT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
    int left = ControlWindow::kLeft + ControlWindow::kChildLeft, top = ControlWindow::kTop + ControlWindow::kChildTop;
    ASSERT_TRUE(MoveUntilSteady(left + 40, top + 30, [&] { return ScreenPixelIs(left + 80, top + 1, ::GetSysColor(COLOR_HIGHLIGHT)); }));
    SaveArtifact(::GetDesktopWindow(), "object-capture-outline");
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(s.Delivered());
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    ExpectImage(*image, ControlWindow::kChildWidth, ControlWindow::kChildHeight, ControlWindow::ControlAt);
}

// The window button: a right press on a window of another program captures that window.
TEST(WindowCapture, RightPressCapturesExactlyThatWindow) {
    Session s;
    ControlWindow window;
    s.program.ClickButton(Id(Command::Window));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(s.program.MainWindow()).left != s.before.left; }));
    PumpMessages(300ms);  // the pick arms itself after its own short pause
    ClickAt(ControlWindow::kLeft + 300, ControlWindow::kTop + 250, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(s.Delivered());
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    ExpectImage(*image, ControlWindow::kWidth, ControlWindow::kHeight, [](int x, int y) {
        bool inControl = x >= ControlWindow::kChildLeft && x < ControlWindow::kChildLeft + ControlWindow::kChildWidth &&
                         y >= ControlWindow::kChildTop && y < ControlWindow::kChildTop + ControlWindow::kChildHeight;
        return inControl ? ControlWindow::ControlAt(x - ControlWindow::kChildLeft, y - ControlWindow::kChildTop)
                         : ControlWindow::HostAt(x, y);
    });
}

} // namespace
} // namespace korvan::e2e
