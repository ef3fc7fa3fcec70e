// Two monitors of different sizes: a 1280 x 1024 monitor left of a 1920 x 1200 primary
// one, so half the desktop has negative x and a strip below the smaller monitor is shown
// by none (KORVAN_MONITORS, scripts/monitors.sh). Captures over both monitors and across
// their border, compared pixel by pixel with a pattern over the whole virtual screen; the
// main window out of every picture; windows opening where they can be seen.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace korvan::e2e {
namespace {

constexpr RECT kLeftMonitor{-1280, 0, 0, 1024};
constexpr RECT kPrimaryMonitor{0, 0, 1920, 1200};
const wchar_t kMainPlacement[] = L"Software\\KorvanScreenshot\\TMainfrm";
const wchar_t kFrameKeys[] = L"Software\\Snapdeck2\\keysettings\\Cursor";

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }
bool OnNoMonitor(const RECT& r) { return ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) == nullptr; }
bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class Monitors : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<RECT> monitors;
        ::EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR, HDC, LPRECT rect, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&monitors));
        ASSERT_EQ(monitors.size(), 2u) << "these tests need the two-monitor display (KORVAN_MONITORS)";
        ASSERT_TRUE(Same(monitors[0], kLeftMonitor) || Same(monitors[1], kLeftMonitor))
            << Text(monitors[0]) << " and " << Text(monitors[1]);
        ASSERT_TRUE(Same(VirtualScreen(), RECT{-1280, 0, 1920, 1200}));
        ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1920);
    }
};

HWND Overlay() {
    HWND overlay = ::FindWindowW(L"KorvanCaptureOverlay", nullptr);
    return overlay && ::IsWindowVisible(overlay) ? overlay : nullptr;
}

bool ScreenPixelIs(int x, int y, imaging::Rgb colour) {
    imaging::Bitmap pixel = GrabScreen(x, y, 1, 1);
    return !pixel.Empty() && pixel.PixelAt(0, 0) == colour;
}

// Moves the pointer until the overlay shows that it has followed (the display may still
// echo an earlier position).
bool MoveUntilShown(int x, int y, const std::function<bool()>& shown) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        MovePointerTo(x, y);
        if (WaitFor(shown, std::chrono::seconds(3))) return true;
        MovePointerTo(x + 1, y);  // a move to where the pointer is makes no message
    }
    return false;
}

// Until the overlay's red cross lines run through the pointer.
bool PointerShownAt(int x, int y) {
    constexpr imaging::Rgb kRed{255, 0, 0};
    int beside = x - 40 >= VirtualScreen().left ? x - 40 : x + 40, above = y >= 40 ? y - 40 : y + 40;
    return MoveUntilShown(x, y, [&] { return ScreenPixelIs(x, above, kRed) && ScreenPixelIs(beside, y, kRed); });
}

// A press or release there. A late echo of an earlier pointer position (the nested display
// sends some) cannot move it elsewhere.
void PressAt(int x, int y, DWORD flags) {
    INPUT input = PointerEventAt(x, y, flags);
    ::SendInput(1, &input, sizeof(input));
}

void ExpectScreenImage(const imaging::Bitmap& image, const RECT& screen,
                       const std::function<imaging::Rgb(int, int)>& expected = PatternWindow::SeenAt) {
    ASSERT_EQ(image.Width(), screen.right - screen.left);
    ASSERT_EQ(image.Height(), screen.bottom - screen.top);
    int wrong = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (!(image.PixelAt(x, y) == expected(screen.left + x, screen.top + y)) && wrong++ < 3)
                ADD_FAILURE() << "screen pixel " << screen.left + x << "," << screen.top + y;
    EXPECT_EQ(wrong, 0);
}

// The captured image once the clipboard has changed since the given sequence number.
std::optional<imaging::Bitmap> DeliveredImage(DWORD clipboardBefore) {
    if (!WaitFor([&] { return ::GetClipboardSequenceNumber() != clipboardBefore; })) return std::nullopt;
    std::optional<imaging::Bitmap> image;
    WaitFor([&] { return (image = ClipboardImage()).has_value(); });
    return image;
}

void PlaceMainWindow(const Program& program, int left, int top) {
    ::SetWindowPos(program.MainWindow(), HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    WaitFor([&] { return WindowRect(program.MainWindow()).left == left; });
}

// Every way a capture moves the main window away: while it runs the window lies on no
// monitor (left of the virtual screen by its own width); afterwards it is back exactly,
// from a place on the left monitor, at Left 0 or on the primary one. The desktop button
// and Print Screen keep capturing the primary monitor.
TEST_F(Monitors, MainWindowIsOutOfEveryPictureAndComesBackExactly) {
    struct Path {
        const char* name;
        int left;
        std::function<void(Program&)> start;
        bool interactive;  // ended with Escape, delivers nothing
    };
    const Path paths[] = {
        {"Print Screen", 0, [](Program& p) {
             // Right after a foreground change Wine now and then drops a synthetic key
             // press: once more if the capture has not begun (a second capture would only
             // keep the first remembered place).
             RECT home = WindowRect(p.MainWindow());
             for (int attempt = 0; attempt < 2; ++attempt) {
                 p.Activate();
                 PressKey(VK_SNAPSHOT);
                 if (WaitFor([&] { return WindowRect(p.MainWindow()).left != home.left; }, std::chrono::seconds(2)))
                     break;
             }
         }, false},
        {"desktop button", -900, [](Program& p) { p.ClickButton(Id(Command::Desktop)); }, false},
        {"area", 600, [](Program& p) { p.ClickButton(Id(Command::Area)); }, true},
        {"object", -1280, [](Program& p) { p.ClickButton(Id(Command::Object)); }, true},
        {"window pick", -300, [](Program& p) { p.ClickButton(Id(Command::Window)); }, true},
    };
    Program program;
    PatternWindow pattern;
    const int top = 300;
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        PlaceMainWindow(program, path.left, top);
        RECT home = WindowRect(program.MainWindow());
        DWORD clipboard = ::GetClipboardSequenceNumber();
        path.start(program);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left != home.left; }));
        RECT away = WindowRect(program.MainWindow());
        EXPECT_TRUE(OnNoMonitor(away)) << Text(away);
        EXPECT_EQ(away.right, VirtualScreen().left) << Text(away);
        EXPECT_EQ(away.top, home.top);
        if (path.interactive) {
            if (path.name != std::string("window pick")) {
                EXPECT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
            }
            PressKey(VK_ESCAPE);
        } else {
            std::optional<imaging::Bitmap> image = DeliveredImage(clipboard);
            ASSERT_TRUE(image.has_value());
            ASSERT_EQ(image->Width(), 1920);
            ASSERT_EQ(image->Height(), 1200);
            for (int y = 0; y < 1200; y += 7)
                for (int x = 0; x < 1920; x += 5)
                    ASSERT_EQ(image->PixelAt(x, y), PatternWindow::ExpectedAt(x, y)) << x << "," << y;
        }
        EXPECT_TRUE(WaitFor([&] { return Same(WindowRect(program.MainWindow()), home); })) << Text(home);
    }
}

// A window of ours on the left monitor, painted with the pattern shifted, so its pixels
// differ from the screen's around it.
class LeftWindow {
public:
    static constexpr RECT kRect{-700, 300, -300, 600};
    LeftWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvanLeftWindow";
        ::RegisterClassW(&wc);
        // Topmost, so that no window of the driver activated after a capture comes above it.
        hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Left", WS_POPUP | WS_VISIBLE, kRect.left,
                                  kRect.top, kRect.right - kRect.left, kRect.bottom - kRect.top, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        ::UpdateWindow(hwnd_);
        WaitFor([] { return ScreenPixelIs(kRect.left + 3, kRect.top + 2, ColourAt(3, 2)); });
    }
    ~LeftWindow() { ::DestroyWindow(hwnd_); }
    HWND Hwnd() const { return hwnd_; }
    static imaging::Rgb ColourAt(int x, int y) { return PatternWindow::ExpectedAt(x + 11, y + 23); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            for (int y = 0; y < kRect.bottom - kRect.top; ++y)
                for (int x = 0; x < kRect.right - kRect.left; ++x) {
                    imaging::Rgb c = ColourAt(x, y);
                    ::SetPixelV(dc, x, y, RGB(c.r, c.g, c.b));
                }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

// Area, object and window captures on the left monitor and across the border: exactly
// the pixels chosen, black where no monitor shows (below the smaller monitor).
TEST_F(Monitors, InteractiveCapturesOverBothMonitorsArePixelExact) {
    Program program;
    PatternWindow pattern;
    LeftWindow window;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    auto shifted = [](int x, int y) { return LeftWindow::ColourAt(x - LeftWindow::kRect.left, y - LeftWindow::kRect.top); };
    struct Case {
        const char* name;
        Command button;
        std::function<void()> choose;
        RECT expected;
        std::function<imaging::Rgb(int, int)> colour;
    };
    const Case cases[] = {
        {"area across the border and the strip below the left monitor", Command::Area,
         [] {
             ASSERT_TRUE(PointerShownAt(-300, 900));
             PressAt(-300, 900, MOUSEEVENTF_LEFTDOWN);
             ASSERT_TRUE(PointerShownAt(100, 1000));
             ASSERT_TRUE(PointerShownAt(400, 1100));
             SaveArtifact(::GetDesktopWindow(), "monitors-area-across-the-border");
             PressAt(400, 1100, MOUSEEVENTF_LEFTUP);
         },
         {-300, 900, 400, 1100}, PatternWindow::SeenAt},
        {"object on the left monitor", Command::Object,
         [] {
             COLORREF outline = ::GetSysColor(COLOR_HIGHLIGHT);  // around the window under the pointer
             ASSERT_TRUE(MoveUntilShown(-500, 450, [&] {
                 return ScreenPixelIs(-600, 300, {GetRValue(outline), GetGValue(outline), GetBValue(outline)});
             }));
             PressAt(-500, 450, MOUSEEVENTF_LEFTDOWN);
             PressAt(-500, 450, MOUSEEVENTF_LEFTUP);
         },
         LeftWindow::kRect, shifted},
        {"window picked on the left monitor", Command::Window,
         [] {
             PumpMessages(std::chrono::milliseconds(300));  // the pick arms itself after its own short pause
             ClickAt(-400, 550, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
         },
         LeftWindow::kRect, shifted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT home = WindowRect(program.MainWindow());
        DWORD clipboard = ::GetClipboardSequenceNumber();
        program.ClickButton(Id(c.button));
        if (c.button != Command::Window) {
            ASSERT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
        }
        c.choose();
        std::optional<imaging::Bitmap> image = DeliveredImage(clipboard);
        ASSERT_TRUE(image.has_value());
        ExpectScreenImage(*image, c.expected, c.colour);
        ASSERT_TRUE(WaitFor([&] { return Same(WindowRect(program.MainWindow()), home); }));
        if (c.button == Command::Area) SaveArtifact(program.FindForm(L"TImage"), "monitors-area-preview");
        ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

// The magnifier and the position text stay on the pointer's monitor at its edges; the text
// tells screen coordinates, negative on the left monitor.
TEST_F(Monitors, MagnifierStaysOnTheMonitorAtItsEdges) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    program.ClickButton(Id(Command::Area));
    ASSERT_TRUE(WaitFor([] { return Overlay() != nullptr; }));
    // At the left edge of the left monitor the magnifier's black edge starts 20 pixels
    // right of and below the pointer; at the other edges it flips to stay on the monitor.
    ASSERT_TRUE(PointerShownAt(-1279, 500));
    SaveArtifact(::GetDesktopWindow(), "monitors-magnifier-left-edge");
    EXPECT_TRUE(ScreenPixelIs(-1259, 520, imaging::Rgb{0, 0, 0}));
    const POINT edges[] = {{-700, 1023}, {-1, 10}, {1919, 1199}};
    for (POINT edge : edges) ASSERT_TRUE(PointerShownAt(edge.x, edge.y)) << edge.x << "," << edge.y;
    SaveArtifact(::GetDesktopWindow(), "monitors-magnifier-primary-corner");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor([] { return Overlay() == nullptr; }));
}

// The grabber frame on the left monitor, moved across the border by its keys, and over the
// strip no monitor shows: its capture holds exactly its inside there.
TEST_F(Monitors, FrameCapturesItsInsideOnEitherMonitor) {
    {
        Program first;  // writes the default frame keys
        ::PostMessageW(first.MainWindow(), WM_CLOSE, 0, 0);
        WaitFor([&] { return !first.Running(); });
    }
    WriteDword(kFrameKeys, L"enable", 1);
    WriteDword(kFrameKeys, L"further", 1);
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HWND frame = program.ShowFrame();
    ASSERT_TRUE(frame);
    struct Case {
        const char* name;
        POINT place;
        int rightPresses;  // each moves the frame 5 pixels to the right
    };
    const Case cases[] = {
        {"monitors-frame-left-monitor", {-1100, 200}, 0},
        {"monitors-frame-keys-across-the-border", {-290, 300}, 10},
        {"monitors-frame-below-the-left-monitor", {-600, 950}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SetWindowPos(frame, nullptr, c.place.x, c.place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        program.Activate();
        for (int i = 0; i < c.rightPresses; ++i) PressKey(VK_RIGHT);
        int left = c.place.x + 5 * c.rightPresses;
        ASSERT_TRUE(WaitFor([&] { return WindowRect(frame).left == left; })) << WindowRect(frame).left;
        SaveArtifact(::GetDesktopWindow(), c.name);
        DWORD clipboard = ::GetClipboardSequenceNumber();
        program.ClickButton(Id(Command::Frame));
        std::optional<imaging::Bitmap> image = DeliveredImage(clipboard);
        ASSERT_TRUE(image.has_value());
        RECT client{};
        ::GetClientRect(frame, &client);
        POINT origin{5, 5};  // the inner panel keeps a 5-pixel margin
        ::ClientToScreen(frame, &origin);
        ExpectScreenImage(*image, {origin.x, origin.y, origin.x + client.right - 10, origin.y + client.bottom - 10});
        EXPECT_TRUE(::IsWindowVisible(frame));
        ::ShowWindow(program.FindForm(L"TImage"), SW_HIDE);
    }
}

// A main window stored on the left monitor comes back there exactly; one stored where no
// monitor is now (a monitor unplugged) comes back whole on the nearest one.
TEST_F(Monitors, MainWindowReopensWhereItCanBeSeen) {
    struct Case {
        const char* name;
        POINT stored;
        bool exact;
    };
    const Case cases[] = {
        {"on the left monitor", {-900, 300}, true},
        {"at the left monitor's corner", {-1280, 0}, true},
        {"on a monitor that is gone", {-3000, 400}, false},
        {"below every monitor", {200, 1500}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring normPos = std::to_wstring(c.stored.x) + L"," + std::to_wstring(c.stored.y) + L"," +
                               std::to_wstring(c.stored.x + 400) + L"," + std::to_wstring(c.stored.y + 70);
        WriteString(kMainPlacement, L"NormPos", normPos);  // what an earlier run left, under both names
        WriteString(kMainPlacement, L"NormPos(1920x1200)", normPos);
        Program program;
        RECT rect = WindowRect(program.MainWindow());
        if (c.exact) {
            EXPECT_EQ(rect.left, c.stored.x);
            EXPECT_EQ(rect.top, c.stored.y);
        } else {
            HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
            MONITORINFO info{sizeof(info)};
            ASSERT_TRUE(monitor && ::GetMonitorInfoW(monitor, &info)) << Text(rect);
            EXPECT_TRUE(Inside(rect, info.rcWork)) << Text(rect);
        }
        ::PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !program.Running(); }));
    }
}

// The top-level dialog of the process with the given class, once it shows.
HWND VisibleWindowOf(const Program& program, const wchar_t* className) {
    HWND found = nullptr;
    WaitFor([&] {
        found = program.FindForm(className);
        return found && ::IsWindowVisible(found);
    });
    return found;
}

// With the main window on the left monitor, the windows it opens open there too, centred
// on it where they are centred, and never straddle the border.
TEST_F(Monitors, WindowsOpenOnTheMainWindowsMonitor) {
    Program program;
    PatternWindow pattern;
    PlaceMainWindow(program, -900, 300);
    struct Opened {
        const char* name;
        std::function<HWND()> open;
        bool centred;
    };
    const Opened windows[] = {
        {"monitors-preview", [&] { return program.CaptureDesktop(); }, false},
        {"monitors-options", [&] {
             program.ClickButton(Id(Command::Options));
             return VisibleWindowOf(program, L"Toptionfrm");
         }, true},
        {"monitors-info", [&] {
             program.ClickButton(Id(Command::Info));
             return VisibleWindowOf(program, L"TAboutfrm");
         }, true},
        {"monitors-help", [&] {
             ::PostMessageW(program.MainWindow(), WM_COMMAND, Id(Command::Help), 0);
             return VisibleWindowOf(program, L"Thelpfrm");
         }, false},  // centred on the main window itself
        {"monitors-save-dialog", [&] {
             program.ClickButton(Id(Command::Save));
             return VisibleWindowOf(program, L"#32770");
         }, false},
    };
    for (const Opened& w : windows) {
        SCOPED_TRACE(w.name);
        ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        HWND window = w.open();
        ASSERT_NE(window, nullptr);
        Settle(window);
        RECT rect = WindowRect(window);
        SaveArtifact(window, w.name);
        SaveArtifact(::GetDesktopWindow(), std::string(w.name) + "-screen");
        EXPECT_TRUE(Inside(rect, kLeftMonitor)) << Text(rect);
        if (w.centred) {
            EXPECT_NEAR((rect.left + rect.right) / 2, (kLeftMonitor.left + kLeftMonitor.right) / 2, 1) << Text(rect);
            EXPECT_NEAR((rect.top + rect.bottom) / 2, (kLeftMonitor.top + kLeftMonitor.bottom) / 2, 1) << Text(rect);
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (w.name == std::string("monitors-save-dialog")) ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
    }
}

} // namespace
} // namespace korvan::e2e
