// The screen grab copies exactly the pixels a window shows.
#include "imaging/Status.h"
#include "imaging/win32/ScreenGrabberWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace korvan::imaging {
namespace {

class SolidWindow {
public:
    SolidWindow(int x, int y, int width, int height, COLORREF colour) {
        brush_ = ::CreateSolidBrush(colour);
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = L"KorvanSolid";
        ::RegisterClassW(&wc);
        ::SetClassLongPtrW(nullptr, 0, 0);
        hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"KorvanSolid", L"", WS_POPUP | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_));
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        ::UpdateWindow(hwnd_);
        Pump();
    }
    ~SolidWindow() {
        ::DestroyWindow(hwnd_);
        ::DeleteObject(brush_);
    }
    static void Pump() {
        for (int i = 0; i < 20; ++i) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::Sleep(10);
        }
    }

private:
    HBRUSH brush_;
    HWND hwnd_;
};

TEST(ScreenGrabberWin32, GrabsTheRectangleAt24Bits) {
    SolidWindow window(100, 120, 60, 40, RGB(10, 200, 30));
    ScreenGrabberWin32 grabber;
    Bitmap bitmap;
    ASSERT_EQ(grabber.GrabRect(0, 90, 110, 180, 170, bitmap), kSuccess);
    EXPECT_EQ(bitmap.Width(), 90);
    EXPECT_EQ(bitmap.Height(), 60);
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    EXPECT_EQ(bitmap.PixelAt(10, 10), (Rgb{10, 200, 30}));   // first pixel of the window
    EXPECT_EQ(bitmap.PixelAt(69, 49), (Rgb{10, 200, 30}));   // its last pixel
    EXPECT_FALSE(bitmap.PixelAt(70, 49) == (Rgb{10, 200, 30}));
}

TEST(ScreenGrabberWin32, RefusesAnEmptyRectangleAndKeepsTheOutput) {
    ScreenGrabberWin32 grabber;
    Bitmap bitmap;
    ASSERT_EQ(Bitmap::Create(bitmap, 3, 3, 24), kSuccess);
    EXPECT_EQ(grabber.GrabRect(0, 10, 10, 10, 50, bitmap), kZeroAreaSize);
    EXPECT_EQ(grabber.GrabRect(0, 10, 10, 5, 50, bitmap), kZeroAreaSize);
    EXPECT_EQ(bitmap.Width(), 3);
}

} // namespace
} // namespace korvan::imaging
