// The capture component on the real screen, driven with real input from a second thread:
// each shape over a known pattern gives exactly the pattern inside and white outside.
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "capture/ShapeMask.h"
#include "capture/win32/InteractiveCaptureWin32.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "capture/win32/ShotCaptureWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace korvan::imaging {
namespace {

using namespace std::chrono_literals;

// Every pixel of the pattern differs from its neighbours and from white.
Rgb Pattern(int x, int y, int salt) {
    return {static_cast<uint8_t>(x * 7 + salt), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(0x40 + ((x ^ y) & 0x7F))};
}

// A borderless window (or child control) whose client pixel (x, y) is Pattern(x, y, salt).
class PatternWindow {
public:
    PatternWindow(int x, int y, int width, int height, int salt, HWND parent = nullptr)
        : width_(width), height_(height), salt_(salt) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PatternWindow::Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"KorvanPattern";
        ::RegisterClassW(&wc);
        DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
        hwnd_ = ::CreateWindowExW(parent ? 0 : WS_EX_TOOLWINDOW, L"KorvanPattern", L"Pattern window", style, x, y,
                                  width, height, parent, nullptr, ::GetModuleHandleW(nullptr), this);
        WaitUntilShown();
    }
    ~PatternWindow() { ::DestroyWindow(hwnd_); }
    HWND Hwnd() const { return hwnd_; }
    RECT ScreenRect() const {
        RECT r;
        ::GetWindowRect(hwnd_, &r);
        return r;
    }
    int Salt() const { return salt_; }

    static void Pump() {
        MSG message;
        for (int i = 0; i < 10; ++i) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::Sleep(5);
        }
    }

    // Pumps until the screen shows the pattern at the corners and in the middle: a new
    // window is mapped, and one uncovered by an overlay is drawn again, some time later.
    void WaitUntilShown() const {
        const POINT probes[] = {{1, 1}, {width_ - 2, 1}, {1, height_ - 2}, {width_ - 2, height_ - 2}};
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            Pump();
            bool shown = true;
            HDC screen = ::GetDC(nullptr);
            for (POINT probe : probes) {
                POINT at = probe;
                ::ClientToScreen(hwnd_, &at);
                Rgb c = Pattern(probe.x, probe.y, salt_);
                shown = shown && ::GetPixel(screen, at.x, at.y) == RGB(c.r, c.g, c.b);
            }
            ::ReleaseDC(nullptr, screen);
            if (shown) return;
            if (std::chrono::steady_clock::now() >= deadline) {
                ADD_FAILURE() << "the pattern window was not shown";
                return;
            }
        }
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto self = reinterpret_cast<PatternWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_PAINT && self) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            self->Paint(dc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    void Paint(HDC dc) const {
        std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                Rgb c = Pattern(x, y, salt_);
                pixels[static_cast<size_t>(y) * width_ + x] = (c.r << 16) | (c.g << 8) | c.b;
            }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB};
        ::SetDIBitsToDevice(dc, 0, 0, width_, height_, 0, 0, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    }

    HWND hwnd_ = nullptr;
    int width_, height_, salt_;
};

bool CursorAt(int x, int y) {
    POINT now{};
    return ::GetCursorPos(&now) && now.x == x && now.y == y;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Real input, sent from a second thread while the capture runs on the test's thread. Each
// step waits until the overlay has handled it and everything it set off, so no step is
// merged with the next. Once the script is done the capture must end within seconds: if
// it does not, the test fails and the overlay is closed, so no capture stays armed.
class InputDriver {
public:
    // onReady runs on the capture's thread once the overlay is ready.
    explicit InputDriver(std::function<void(InputDriver&)> script, std::function<void()> onReady = {})
        : script_(std::move(script)), onReady_(std::move(onReady)) {
        ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        InteractiveCaptureWin32::Instance().SetReadyObserver([this](HWND overlay) {
            overlay_ = overlay;
            if (onReady_) onReady_();
            ::SetEvent(ready_);
        });
        thread_ = std::thread([this] {
            if (::WaitForSingleObject(ready_, 10000) != WAIT_OBJECT_0) {
                ADD_FAILURE() << "the capture's overlay did not come";
                return;
            }
            if (abandoned_) return;
            script_(*this);
            EndCapture();
        });
    }
    ~InputDriver() {
        abandoned_ = true;
        if (thread_.joinable()) {
            ::SetEvent(ready_);
            thread_.join();
        }
        InteractiveCaptureWin32::Instance().SetReadyObserver(nullptr);
        ::CloseHandle(ready_);
    }
    void Join() { thread_.join(); }

    static void SendMove(int x, int y) {
        int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
        INPUT input{INPUT_MOUSE};
        input.mi.dx = static_cast<LONG>((static_cast<long long>(x - left) * 65536 + width - 1) / width);
        input.mi.dy = static_cast<LONG>((static_cast<long long>(y - top) * 65536 + height - 1) / height);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        ::SendInput(1, &input, sizeof(INPUT));
    }
    void MoveTo(int x, int y) {
        // A late echo of an earlier position would put the pointer back: then it goes again.
        // A move to where the cursor already is makes no mouse message, so a retry first
        // steps one pixel aside.
        const Point target{x, y};
        auto there = [&] { return Seen() == target; };
        for (int attempt = 0; attempt < 5 && Live(); ++attempt) {
            if (!there() || !CursorAt(x, y)) {
                if (attempt > 0) SendMove(x > 0 ? x - 1 : x + 1, y);
                SendMove(x, y);
                WaitFor([&] { return there() || !Live(); }, 3s);
            }
            if (Settle(there)) return;
        }
        if (!Live()) return;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ADD_FAILURE() << "the pointer did not stay at " << x << "," << y << ": the overlay saw " << Seen().x << ","
                      << Seen().y << ", the cursor is at " << cursor.x << "," << cursor.y;
    }
    void Button(DWORD flags, DWORD time = 0) {
        INPUT input{INPUT_MOUSE};
        input.mi.dwFlags = flags;
        input.mi.time = time;
        Send(&input);
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
    }
    // Both clicks carry their time, so a busy machine cannot stretch them apart.
    void DoubleClick(int x, int y) {
        MoveTo(x, y);
        DWORD now = ::GetTickCount();
        Button(MOUSEEVENTF_LEFTDOWN, now);
        Button(MOUSEEVENTF_LEFTUP, now + 1);
        Button(MOUSEEVENTF_LEFTDOWN, now + 2);
        Button(MOUSEEVENTF_LEFTUP, now + 3);
    }
    void Key(WORD key) {
        INPUT input[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        Send(&input[0]);
        Send(&input[1], false);
    }
    // Waits until the screen shows the colour at the point (the overlay has painted).
    bool WaitForPixel(int x, int y, COLORREF colour) {
        return WaitFor([&] {
            HDC screen = ::GetDC(nullptr);
            COLORREF now = ::GetPixel(screen, x, y);
            ::ReleaseDC(nullptr, screen);
            return now == colour;
        }, 3s);
    }
    HWND Overlay() const { return overlay_; }

private:
    static unsigned Handled() { return InteractiveCaptureWin32::Instance().InputEventsHandled(); }
    static Point Seen() { return InteractiveCaptureWin32::Instance().PointerHandled(); }
    // The overlay is up until its capture ends; input after that would reach other windows.
    bool Live() const { return ::IsWindowVisible(overlay_) != FALSE; }

    // A round trip through the overlay's message loop: what reached its thread before has
    // been handled once this returns twice.
    void Sync() const {
        for (int i = 0; i < 2; ++i)
            ::SendMessageTimeoutW(overlay_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr);
    }

    // Waits until the overlay has seen everything the last step set off: the display
    // server echoes every pointer warp once more, and an echo handled after the next step
    // would put the pointer back. Asking for the pointer's place goes to the display server
    // itself once the last move is 100 ms old, so all echoes are on their way by then and
    // the round trips through the overlay's loop take them in. False when the condition
    // does not hold any more.
    bool Settle(const std::function<bool()>& holds) {
        auto since = std::chrono::steady_clock::now();
        auto deadline = since + 3s;
        unsigned seen = Handled();
        while (std::chrono::steady_clock::now() < deadline && Live()) {
            std::this_thread::sleep_for(20ms);
            POINT ignored;
            ::GetCursorPos(&ignored);
            Sync();
            if (!holds()) return false;
            if (Handled() != seen) {
                seen = Handled();
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since >= 150ms) {
                return true;
            }
        }
        return !Live() || holds();
    }

    void Send(INPUT* input, bool counted = true) {
        if (!Live()) return;
        unsigned before = Handled();
        ::SendInput(1, input, sizeof(INPUT));
        if (counted) WaitFor([&] { return Handled() != before || !Live(); }, 3s);
        Sync();
    }

    // The script is done: the capture must be over within seconds, or it is called off.
    void EndCapture() {
        if (WaitFor([&] { return !Live(); }, 5s)) return;
        ADD_FAILURE() << "the capture did not end after its input";
        ::PostMessageW(overlay_, WM_CLOSE, 0, 0);
    }

    std::function<void(InputDriver&)> script_;
    std::function<void()> onReady_;
    HANDLE ready_;
    std::atomic<HWND> overlay_{nullptr};
    std::atomic<bool> abandoned_{false};
    std::thread thread_;
};

void SaveScreenshot(const std::string& name) {
    wchar_t folder[1024];
    DWORD length = ::GetEnvironmentVariableW(L"KORVAN_ARTIFACTS", folder, 1024);
    if (!length) return;
    std::wstring path(folder, length);
    if (path[0] == L'/') {
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        path = L"Z:" + path;
    }
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    ScreenGrabberWin32 grabber;
    Bitmap screen;
    if (grabber.GrabRect(0, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), screen) != kSuccess)
        return;
    (void)SaveBitmapFile(std::filesystem::path(path) / (name + ".png"), screen, kFormatPng, 24, 0);
}

// The result must be the shape's box: the pattern inside the shape, white outside.
void ExpectPatternInShape(const TShotCapture& capture, const Shape& shape, const PatternWindow& window) {
    ShapeMask mask(shape);
    const Bitmap* image = capture.Bitmap();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Width(), mask.Bounds().Width());
    ASSERT_EQ(image->Height(), mask.Bounds().Height());
    RECT origin = window.ScreenRect();
    int wrong = 0, inside = 0;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) {
            bool in = mask.Inside(x, y);
            inside += in;
            Rgb expected = in ? Pattern(mask.Bounds().left + x - origin.left, mask.Bounds().top + y - origin.top,
                                        window.Salt())
                              : Rgb{255, 255, 255};
            if (!(image->PixelAt(x, y) == expected) && wrong++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y << (in ? " inside" : " outside");
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inside, 0);
}

// Puts the pointer at the point from the test's thread and waits until it stays there.
void PlacePointer(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        ::SetCursorPos(x, y);
        PatternWindow::Pump();
        if (CursorAt(x, y)) return;
    }
    ADD_FAILURE() << "the pointer did not stay at " << x << "," << y;
}

struct Fixture {
    PatternWindow pattern{100, 80, 640, 480, 0};
    std::unique_ptr<TShotCapture> capture = CreateMainWindowShotCapture();
};

TEST(ShotCaptureWin32, DragShapesGiveThePatternInsideAndWhiteOutside) {
    struct Row {
        int areaType;
        Point from, to;
        const char* screenshot;
    };
    const Row rows[] = {
        {kAreaRectangle, {200, 150}, {421, 333}, "capture-rectangle"},
        {kAreaEllipse, {500, 400}, {260, 200}, "capture-ellipse"},
        {kAreaTriangle, {150, 120}, {350, 300}, nullptr},
        {kAreaRoundRectangle, {300, 130}, {600, 420}, nullptr},
    };
    Fixture f;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.areaType);
        f.pattern.WaitUntilShown();  // drawn again after the last overlay
        InputDriver driver([&](InputDriver& d) {
            d.MoveTo(row.from.x, row.from.y);
            d.Button(MOUSEEVENTF_LEFTDOWN);
            d.MoveTo((row.from.x + row.to.x) / 2, row.to.y);
            d.MoveTo(row.to.x, row.to.y);
            if (row.screenshot) {
                // The outline in red, the size beside the pointer and the magnifier.
                int left = std::min(row.from.x, row.to.x);
                int top = std::min(row.from.y, row.to.y);
                int x = row.areaType == kAreaRectangle ? left : (row.from.x + row.to.x) / 2;
                EXPECT_TRUE(d.WaitForPixel(x, top, RGB(255, 0, 0))) << row.screenshot;
                SaveScreenshot(row.screenshot);
            }
            d.Button(MOUSEEVENTF_LEFTUP);
        });
        ASSERT_EQ(f.capture->CaptureArea(row.areaType), kSuccess) << row.areaType;
        driver.Join();
        ExpectPatternInShape(*f.capture, {row.areaType, {row.from, row.to}, 100, 100}, f.pattern);
    }
}

TEST(ShotCaptureWin32, PolygonByCornersAndDoubleClick) {
    Fixture f;
    const std::vector<Point> corners = {{200, 120}, {520, 160}, {600, 400}, {330, 300}, {180, 460}};
    InputDriver driver([&](InputDriver& d) {
        for (size_t i = 0; i + 1 < corners.size(); ++i) d.Click(corners[i].x, corners[i].y);
        d.MoveTo(400, 500);  // the side being placed, from the last corner to the pointer
        EXPECT_TRUE(d.WaitForPixel((330 + 400) / 2, (300 + 500) / 2, RGB(255, 0, 0)));
        SaveScreenshot("capture-polygon");
        d.DoubleClick(corners.back().x, corners.back().y);  // its first click places the last corner
    });
    ASSERT_EQ(f.capture->CaptureArea(kAreaPolygon), kSuccess);
    driver.Join();
    ExpectPatternInShape(*f.capture, {kAreaPolygon, corners}, f.pattern);
}

TEST(ShotCaptureWin32, FreehandFollowsThePointer) {
    Fixture f;
    std::vector<Point> path;
    for (int i = 0; i <= 40; ++i) {
        double angle = i * 6.2831853 / 40;
        path.push_back({400 + static_cast<int>(180 * std::cos(angle)), 300 + static_cast<int>(140 * std::sin(2 * angle))});
    }
    InputDriver driver([&](InputDriver& d) {
        d.MoveTo(path[0].x, path[0].y);
        d.Button(MOUSEEVENTF_LEFTDOWN);
        for (size_t i = 1; i < path.size(); ++i) d.MoveTo(path[i].x, path[i].y);
        SaveScreenshot("capture-freehand");
        d.Button(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(f.capture->CaptureArea(kAreaFreehand), kSuccess);
    driver.Join();
    std::vector<Point> drawn;  // the path closes on itself: its last point is its first
    for (Point p : path)
        if (drawn.empty() || !(drawn.back() == p)) drawn.push_back(p);
    ExpectPatternInShape(*f.capture, {kAreaFreehand, drawn}, f.pattern);
}

TEST(ShotCaptureWin32, KeyboardMovesByOnePixelAndActsAsTheButton) {
    struct Row {
        int areaType;
        std::function<void(InputDriver&)> script;
        Shape expected;
    };
    auto arrows = [](InputDriver& d, WORD key, int times) {
        for (int i = 0; i < times; ++i) d.Key(key);
    };
    const Row rows[] = {
        {kAreaRectangle,
         [&](InputDriver& d) {
             d.MoveTo(300, 200);
             d.Key(VK_RETURN);
             arrows(d, VK_RIGHT, 5);
             arrows(d, VK_DOWN, 3);
             d.Key(VK_SPACE);
         },
         {kAreaRectangle, {{300, 200}, {305, 203}}}},
        {kAreaPolygon,  // Space places corners, Enter closes the polygon
         [&](InputDriver& d) {
             d.MoveTo(400, 300);
             d.Key(VK_SPACE);
             arrows(d, VK_RIGHT, 6);
             d.Key(VK_SPACE);
             arrows(d, VK_DOWN, 4);
             d.Key(VK_SPACE);
             d.Key(VK_RETURN);
         },
         {kAreaPolygon, {{400, 300}, {406, 300}, {406, 304}}}},
    };
    Fixture f;
    for (const Row& row : rows) {
        f.pattern.WaitUntilShown();
        InputDriver driver(row.script);
        ASSERT_EQ(f.capture->CaptureArea(row.areaType), kSuccess) << row.areaType;
        driver.Join();
        ExpectPatternInShape(*f.capture, row.expected, f.pattern);
    }
}

// The declared defaults: dashed white outline, the info window, the cursor drawn in.
TEST(ShotCaptureWin32, DefaultSettingsWithInfoWindowAndCursor) {
    PatternWindow pattern{100, 80, 640, 480, 0};
    auto capture = CreateShotCapture();
    capture->SetCaptureHotKey(0);
    capture->SetCaptureAreaIncludeCursor(true);
    PlacePointer(500, 450);  // where the pointer is when the capture starts
    InputDriver driver([](InputDriver& d) {
        d.MoveTo(450, 400);
        d.Button(MOUSEEVENTF_LEFTDOWN);
        d.MoveTo(620, 520);
        EXPECT_TRUE(d.WaitForPixel(10 + 75, 10, RGB(0, 0, 0)));  // the top of the info window's frame
        SaveScreenshot("capture-defaults-info-window");
        d.Button(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(capture->CaptureArea(kAreaRectangle), kSuccess);
    driver.Join();
    const Bitmap* image = capture->Bitmap();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Width(), 170);
    int changed = 0;  // pixels of the arrow, drawn from the pointer's place at the start
    for (int y = 50; y < 70; ++y)
        for (int x = 50; x < 62; ++x) changed += !(image->PixelAt(x, y) == Pattern(450 - 100 + x, 400 - 80 + y, 0));
    EXPECT_GT(changed, 20);
    EXPECT_EQ(image->PixelAt(5, 5), Pattern(355, 325, 0));
}

TEST(ShotCaptureWin32, CancelAndRefusals) {
    Fixture f;
    struct Row {
        const char* name;
        std::function<void(InputDriver&)> script;
        int status;
    };
    const Row rows[] = {
        {"escape", [](InputDriver& d) { d.MoveTo(300, 300); d.Key(VK_ESCAPE); }, kCaptureCancelled},
        {"right click before the first point", [](InputDriver& d) { d.MoveTo(310, 300); d.Button(MOUSEEVENTF_RIGHTDOWN); d.Button(MOUSEEVENTF_RIGHTUP); }, kCaptureCancelled},
        {"zero area", [](InputDriver& d) { d.Click(320, 300); }, kZeroAreaSize},
        {"escape while drawing", [](InputDriver& d) {
             d.MoveTo(300, 300);
             d.Button(MOUSEEVENTF_LEFTDOWN);
             d.MoveTo(350, 350);
             d.Key(VK_ESCAPE);
             d.Button(MOUSEEVENTF_LEFTUP);
         }, kCaptureCancelled},
    };
    for (const Row& row : rows) {
        f.pattern.WaitUntilShown();
        InputDriver driver(row.script);
        EXPECT_EQ(f.capture->CaptureArea(kAreaRectangle), row.status) << row.name;
        driver.Join();
        EXPECT_EQ(f.capture->Bitmap(), nullptr) << row.name;
    }

    // A capture asked for while one runs is refused at once.
    auto second = CreateShotCapture("Second");
    second->SetEnableMethodErrors(false);
    int nested = 0;
    InputDriver driver([](InputDriver& d) { d.Key(VK_ESCAPE); }, [&] { nested = second->CaptureArea(kAreaEllipse); });
    EXPECT_EQ(f.capture->CaptureArea(kAreaRectangle), kCaptureCancelled);
    driver.Join();
    EXPECT_EQ(nested, kCaptureInProcess);
}

TEST(ShotCaptureWin32, ObjectCaptureGivesExactlyTheControl) {
    Fixture f;
    PatternWindow control(50, 40, 150, 90, 77, f.pattern.Hwnd());
    InputDriver driver([&](InputDriver& d) {
        d.MoveTo(100 + 50 + 30, 80 + 40 + 20);
        EXPECT_TRUE(d.WaitForPixel(100 + 50 + 75, 80 + 40, ::GetSysColor(COLOR_HIGHLIGHT)));
        SaveScreenshot("capture-object");
        d.Button(MOUSEEVENTF_LEFTDOWN);
        d.Button(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(f.capture->CaptureSelectedObject(), kSuccess);
    driver.Join();
    ExpectPatternInShape(*f.capture, {kAreaRectangle, {{150, 120}, {300, 210}}}, control);
}

TEST(ShotCaptureWin32, ObjectCaptureByKeyboardAndTheWindowAroundTheControl) {
    Fixture f;
    PatternWindow control(50, 40, 150, 90, 77, f.pattern.Hwnd());
    InputDriver driver([&](InputDriver& d) {
        d.MoveTo(100 + 400, 80 + 300);  // on the window, away from the control
        d.Key(VK_RETURN);
    });
    ASSERT_EQ(f.capture->CaptureSelectedObject(), kSuccess);
    driver.Join();
    const Bitmap* image = f.capture->Bitmap();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 640);
    EXPECT_EQ(image->Height(), 480);
    EXPECT_EQ(image->PixelAt(0, 0), Pattern(0, 0, 0));
    EXPECT_EQ(image->PixelAt(60, 50), Pattern(10, 10, 77));
    EXPECT_STREQ(f.capture->CaptureText(), "Pattern window");
}

TEST(ShotCaptureWin32, ActiveWindowIsTheWindowUnderThePointer) {
    Fixture f;
    PlacePointer(300, 300);
    ASSERT_EQ(f.capture->CaptureActiveWindow(), kSuccess);
    ExpectPatternInShape(*f.capture, {kAreaRectangle, {{100, 80}, {740, 560}}}, f.pattern);
}

TEST(ShotCaptureWin32, CountAndIntervalDeliverEveryImage) {
    Fixture f;
    f.capture->SetCaptureCount(3);
    f.capture->SetCaptureInterval(20);
    std::vector<int> pages;
    f.capture->OnCaptureImage = [&](TShotCapture&, int page) { pages.push_back(page); };
    PlacePointer(300, 300);
    ASSERT_EQ(f.capture->CaptureActiveWindow(), kSuccess);
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    f.capture->SetCaptureCount(1);
    ExpectPatternInShape(*f.capture, {kAreaRectangle, {{100, 80}, {740, 560}}}, f.pattern);
}

} // namespace
} // namespace korvan::imaging

namespace korvan::imaging {
namespace {

// With a delay the overlay comes that much later; with a hot key the capture waits for it.
TEST(ShotCaptureWin32, DelayAndHotKeyHoldTheCaptureBack) {
    Fixture f;
    auto& layer = InteractiveCaptureWin32::Instance();
    f.capture->SetCaptureDelay(250);
    {
        InputDriver driver([](InputDriver& d) { d.Key(VK_ESCAPE); });
        EXPECT_EQ(f.capture->CaptureArea(kAreaRectangle), kCaptureCancelled);
        driver.Join();
    }
    EXPECT_GE(layer.LastTimings().ready - layer.LastTimings().start, 250ms);
    f.capture->SetCaptureDelay(0);

    f.capture->SetCaptureHotKey(VK_F9);
    int hotKeyType = -1;
    f.capture->OnCaptureHotKeyPressed = [&](TShotCapture&, int type) { hotKeyType = type; };
    std::atomic<bool> ready{false}, over{false};
    std::atomic<HWND> overlay{nullptr};
    layer.SetReadyObserver([&](HWND window) {
        overlay = window;
        ready = true;
    });
    auto key = [](WORD vk, DWORD flags) {
        INPUT input{INPUT_KEYBOARD};
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        ::SendInput(1, &input, sizeof(INPUT));
    };
    std::thread presser([&] {
        // Pressed until the capture, armed meanwhile, shows its overlay; then called off.
        for (int i = 0; i < 50 && !ready; ++i) {
            key(VK_F9, 0);
            key(VK_F9, KEYEVENTF_KEYUP);
            WaitFor([&] { return ready.load(); }, 100ms);
        }
        // Escape stays down until the capture is over, wherever it waits.
        key(VK_ESCAPE, 0);
        if (!WaitFor([&] { return over.load(); }, 5s)) {
            ADD_FAILURE() << "the capture did not end on Escape";
            if (HWND window = overlay) ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
        key(VK_ESCAPE, KEYEVENTF_KEYUP);
    });
    EXPECT_EQ(f.capture->CaptureArea(kAreaRectangle), kCaptureCancelled);
    over = true;
    presser.join();
    layer.SetReadyObserver(nullptr);
    EXPECT_TRUE(ready);
    EXPECT_EQ(hotKeyType, 0);
    f.capture->SetCaptureHotKey(0);
}

} // namespace
} // namespace korvan::imaging

namespace korvan::imaging {
namespace {

// Clearing the modifiers makes the hot key the cancel key: the next capture says so.
TEST(ShotCaptureWin32, HotKeyEqualToTheCancelKeyRefusesTheCapture) {
    auto capture = CreateShotCapture();
    capture->SetEnableMethodErrors(false);
    capture->SetCaptureHotKeyModifiers(2);
    capture->SetCaptureHotKey(27);
    capture->SetCaptureHotKeyModifiers(0);
    EXPECT_EQ(capture->CaptureArea(kAreaRectangle), kHotkeySameAsCancel);
    capture->SetCaptureHotKey(0);
}

} // namespace
} // namespace korvan::imaging
