// The interactive capture on the real screen, driven with real input from a second
// thread: each shape over a known pattern gives exactly the pattern inside and white outside.
#include "capture/win32/InteractiveCaptureWin32.h"

#include "capture/ShapeMask.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "support/win32/Artifacts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace korvan::win {
namespace {

using namespace std::chrono_literals;
using imaging::Bitmap;
using imaging::Rgb;
using imaging::kSuccess;

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
    InputDriver(InteractiveCaptureWin32& capture, std::function<void(InputDriver&)> script,
                std::function<void()> onReady = {})
        : probe_(capture.Probe()), script_(std::move(script)), onReady_(std::move(onReady)) {
        ready_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        probe_.onReady = [this](HWND overlay) {
            overlay_ = overlay;
            if (onReady_) onReady_();
            ::SetEvent(ready_);
        };
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
        probe_.onReady = nullptr;
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
    unsigned Handled() const { return probe_.inputEvents.load(); }
    Point Seen() const { return probe_.PointerHandled(); }
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

    CaptureProbe& probe_;
    std::function<void(InputDriver&)> script_;
    std::function<void()> onReady_;
    HANDLE ready_;
    std::atomic<HWND> overlay_{nullptr};
    std::atomic<bool> abandoned_{false};
    std::thread thread_;
};

void SaveScreenshot(const std::string& name) {
    Bitmap screen;
    imaging::ScreenGrabberWin32 grabber;
    if (grabber.GrabRect(0, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), screen) == kSuccess)
        test::SaveArtifactPicture(screen, name);
}

// The result must be the shape's box: the pattern inside the shape, white outside.
void ExpectPatternInShape(const Bitmap& image, const Shape& shape, const PatternWindow& window) {
    ShapeMask mask(shape);
    ASSERT_FALSE(image.Empty());
    ASSERT_EQ(image.Width(), mask.Bounds().Width());
    ASSERT_EQ(image.Height(), mask.Bounds().Height());
    RECT origin = window.ScreenRect();
    int wrong = 0, inside = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            bool in = mask.Inside(x, y);
            inside += in;
            Rgb expected = in ? Pattern(mask.Bounds().left + x - origin.left, mask.Bounds().top + y - origin.top,
                                        window.Salt())
                              : Rgb{255, 255, 255};
            if (!(image.PixelAt(x, y) == expected) && wrong++ < 3)
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

// The program's capture settings over a pattern window.
struct Fixture {
    PatternWindow pattern{100, 80, 640, 480, 0};
    InteractiveCaptureWin32 capture;
    CaptureSettings settings;
    Bitmap image;
    int Area(AreaShape shape) {
        settings.shape = shape;
        return capture.CaptureArea(settings, image);
    }
    int Object() { return capture.CaptureObject(settings, image); }
};


TEST(InteractiveCaptureWin32, DragShapesGiveThePatternInsideAndWhiteOutside) {
    struct Row {
        AreaShape shape;
        Point from, to;
        const char* screenshot;
    };
    const Row rows[] = {
        {AreaShape::Rectangle, {200, 150}, {421, 333}, "capture-rectangle"},
        {AreaShape::Ellipse, {500, 400}, {260, 200}, "capture-ellipse"},
        {AreaShape::Triangle, {150, 120}, {350, 300}, nullptr},
        {AreaShape::RoundRectangle, {300, 130}, {600, 420}, nullptr},
    };
    Fixture f;
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.shape));
        f.pattern.WaitUntilShown();  // drawn again after the last overlay
        InputDriver driver(f.capture, [&](InputDriver& d) {
            d.MoveTo(row.from.x, row.from.y);
            d.Button(MOUSEEVENTF_LEFTDOWN);
            d.MoveTo((row.from.x + row.to.x) / 2, row.to.y);
            d.MoveTo(row.to.x, row.to.y);
            if (row.screenshot) {
                // The outline in red, the size beside the pointer and the magnifier.
                int left = std::min(row.from.x, row.to.x);
                int top = std::min(row.from.y, row.to.y);
                int x = row.shape == AreaShape::Rectangle ? left : (row.from.x + row.to.x) / 2;
                EXPECT_TRUE(d.WaitForPixel(x, top, RGB(255, 0, 0))) << row.screenshot;
                SaveScreenshot(row.screenshot);
            }
            d.Button(MOUSEEVENTF_LEFTUP);
        });
        ASSERT_EQ(f.Area(row.shape), kSuccess);
        driver.Join();
        ExpectPatternInShape(f.image, {row.shape, {row.from, row.to}, 100, 100}, f.pattern);
    }
}

TEST(InteractiveCaptureWin32, PolygonByCornersAndDoubleClick) {
    Fixture f;
    const std::vector<Point> corners = {{200, 120}, {520, 160}, {600, 400}, {330, 300}, {180, 460}};
    InputDriver driver(f.capture, [&](InputDriver& d) {
        for (size_t i = 0; i + 1 < corners.size(); ++i) d.Click(corners[i].x, corners[i].y);
        d.MoveTo(400, 500);  // the side being placed, from the last corner to the pointer
        EXPECT_TRUE(d.WaitForPixel((330 + 400) / 2, (300 + 500) / 2, RGB(255, 0, 0)));
        SaveScreenshot("capture-polygon");
        d.DoubleClick(corners.back().x, corners.back().y);  // its first click places the last corner
    });
    ASSERT_EQ(f.Area(AreaShape::Polygon), kSuccess);
    driver.Join();
    ExpectPatternInShape(f.image, {AreaShape::Polygon, corners}, f.pattern);
}

TEST(InteractiveCaptureWin32, FreehandFollowsThePointer) {
    Fixture f;
    std::vector<Point> path;
    for (int i = 0; i <= 40; ++i) {
        double angle = i * 6.2831853 / 40;
        path.push_back({400 + static_cast<int>(180 * std::cos(angle)), 300 + static_cast<int>(140 * std::sin(2 * angle))});
    }
    InputDriver driver(f.capture, [&](InputDriver& d) {
        d.MoveTo(path[0].x, path[0].y);
        d.Button(MOUSEEVENTF_LEFTDOWN);
        for (size_t i = 1; i < path.size(); ++i) d.MoveTo(path[i].x, path[i].y);
        SaveScreenshot("capture-freehand");
        d.Button(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(f.Area(AreaShape::Freehand), kSuccess);
    driver.Join();
    std::vector<Point> drawn;  // the path closes on itself: its last point is its first
    for (Point p : path)
        if (drawn.empty() || !(drawn.back() == p)) drawn.push_back(p);
    ExpectPatternInShape(f.image, {AreaShape::Freehand, drawn}, f.pattern);
}

TEST(InteractiveCaptureWin32, KeyboardMovesByOnePixelAndActsAsTheButton) {
    struct Row {
        AreaShape shape;
        std::function<void(InputDriver&)> script;
        Shape expected;
    };
    auto arrows = [](InputDriver& d, WORD key, int times) {
        for (int i = 0; i < times; ++i) d.Key(key);
    };
    const Row rows[] = {
        {AreaShape::Rectangle,
         [&](InputDriver& d) {
             d.MoveTo(300, 200);
             d.Key(VK_RETURN);
             arrows(d, VK_RIGHT, 5);
             arrows(d, VK_DOWN, 3);
             d.Key(VK_SPACE);
         },
         {AreaShape::Rectangle, {{300, 200}, {305, 203}}}},
        {AreaShape::Polygon,  // Space places corners, Enter closes the polygon
         [&](InputDriver& d) {
             d.MoveTo(400, 300);
             d.Key(VK_SPACE);
             arrows(d, VK_RIGHT, 6);
             d.Key(VK_SPACE);
             arrows(d, VK_DOWN, 4);
             d.Key(VK_SPACE);
             d.Key(VK_RETURN);
         },
         {AreaShape::Polygon, {{400, 300}, {406, 300}, {406, 304}}}},
    };
    Fixture f;
    for (const Row& row : rows) {
        f.pattern.WaitUntilShown();
        InputDriver driver(f.capture, row.script);
        ASSERT_EQ(f.Area(row.shape), kSuccess) << static_cast<int>(row.shape);
        driver.Join();
        ExpectPatternInShape(f.image, row.expected, f.pattern);
    }
}

// A capture called off or without an area gives no image; the one before stays.
TEST(InteractiveCaptureWin32, CancelAndRefusals) {
    Fixture f;
    struct Row {
        const char* name;
        std::function<void(InputDriver&)> script;
        int status;
    };
    const Row rows[] = {
        {"escape", [](InputDriver& d) { d.MoveTo(300, 300); d.Key(VK_ESCAPE); }, imaging::kCaptureCancelled},
        {"right click before the first point", [](InputDriver& d) { d.MoveTo(310, 300); d.Button(MOUSEEVENTF_RIGHTDOWN); d.Button(MOUSEEVENTF_RIGHTUP); }, imaging::kCaptureCancelled},
        {"zero area", [](InputDriver& d) { d.Click(320, 300); }, imaging::kZeroAreaSize},
        {"escape while drawing", [](InputDriver& d) {
             d.MoveTo(300, 300);
             d.Button(MOUSEEVENTF_LEFTDOWN);
             d.MoveTo(350, 350);
             d.Key(VK_ESCAPE);
             d.Button(MOUSEEVENTF_LEFTUP);
         }, imaging::kCaptureCancelled},
    };
    ASSERT_EQ(Bitmap::Create(f.image, 3, 2, 24), kSuccess);
    for (const Row& row : rows) {
        f.pattern.WaitUntilShown();
        InputDriver driver(f.capture, row.script);
        EXPECT_EQ(f.Area(AreaShape::Rectangle), row.status) << row.name;
        driver.Join();
        EXPECT_EQ(f.image.Width(), 3) << row.name;
    }

    // A capture asked for while one runs, of any instance, is refused at once.
    InteractiveCaptureWin32 second;
    Bitmap secondImage;
    int nested = 0;
    InputDriver driver(f.capture, [](InputDriver& d) { d.Key(VK_ESCAPE); },
                       [&] { nested = second.CaptureArea(f.settings, secondImage); });
    EXPECT_EQ(f.Area(AreaShape::Rectangle), imaging::kCaptureCancelled);
    driver.Join();
    EXPECT_EQ(nested, imaging::kCaptureInProcess);
    EXPECT_TRUE(secondImage.Empty());
}

TEST(InteractiveCaptureWin32, ObjectCaptureGivesExactlyTheControl) {
    Fixture f;
    PatternWindow control(50, 40, 150, 90, 77, f.pattern.Hwnd());
    InputDriver driver(f.capture, [&](InputDriver& d) {
        d.MoveTo(100 + 50 + 30, 80 + 40 + 20);
        EXPECT_TRUE(d.WaitForPixel(100 + 50 + 75, 80 + 40, ::GetSysColor(COLOR_HIGHLIGHT)));
        SaveScreenshot("capture-object");
        d.Button(MOUSEEVENTF_LEFTDOWN);
        d.Button(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_EQ(f.Object(), kSuccess);
    driver.Join();
    ExpectPatternInShape(f.image, {AreaShape::Rectangle, {{150, 120}, {300, 210}}}, control);
}

TEST(InteractiveCaptureWin32, ObjectCaptureByKeyboardAndTheWindowAroundTheControl) {
    Fixture f;
    PatternWindow control(50, 40, 150, 90, 77, f.pattern.Hwnd());
    InputDriver driver(f.capture, [&](InputDriver& d) {
        d.MoveTo(100 + 400, 80 + 300);  // on the window, away from the control
        d.Key(VK_RETURN);
    });
    ASSERT_EQ(f.Object(), kSuccess);
    driver.Join();
    ASSERT_EQ(f.image.Width(), 640);
    EXPECT_EQ(f.image.Height(), 480);
    EXPECT_EQ(f.image.PixelAt(0, 0), Pattern(0, 0, 0));
    EXPECT_EQ(f.image.PixelAt(60, 50), Pattern(10, 10, 77));
}

TEST(InteractiveCaptureWin32, WindowUnderThePointerAtItsVisibleBounds) {
    Fixture f;
    PlacePointer(300, 300);
    ASSERT_EQ(f.capture.CaptureWindowUnderPointer(f.image), kSuccess);
    ExpectPatternInShape(f.image, {AreaShape::Rectangle, {{100, 80}, {740, 560}}}, f.pattern);
}

} // namespace
} // namespace korvan::win
