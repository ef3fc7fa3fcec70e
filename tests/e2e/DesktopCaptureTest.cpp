// The full-desktop capture seen from outside: the screen lands on the clipboard pixel
// for pixel, the preview shows it, and the main window comes back.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace korvan::e2e {
namespace {

TEST(DesktopCapture, PutsTheWholeScreenOnTheClipboardAndShowsThePreview) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT before = WindowRect(program.MainWindow());
    int width = before.right - before.left;

    program.ClickButton(Id(Command::Desktop));
    // Moved off the desktop (not minimised) while the screen settles: left of it by its width.
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == VirtualScreen().left - width; },
                        std::chrono::milliseconds(450)));
    EXPECT_FALSE(::IsIconic(program.MainWindow()));

    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == before.left; }));

    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(image->Width(), screenWidth);
    ASSERT_EQ(image->Height(), screenHeight);
    int mismatches = 0;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x)
            if (!(image->PixelAt(x, y) == PatternWindow::ExpectedAt(x, y)) && mismatches++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " differs from the screen";
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(ClipboardHasPng());

    SaveArtifact(preview, "preview-desktop-capture");
}

// A second capture with the preview open closes it before the grab, so the preview is
// not in the picture, and shows it again afterwards.
TEST(DesktopCapture, ClosesThePreviewBeforeGrabbingAndShowsItAgain) {
    Program program;
    PatternWindow pattern;
    HWND preview = program.CaptureDesktop();
    ASSERT_NE(preview, nullptr);

    program.ClickButton(Id(Command::Desktop));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) == 0; }, std::chrono::milliseconds(450)));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    std::optional<imaging::Bitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    RECT previewRect = WindowRect(preview);
    int cx = (previewRect.left + previewRect.right) / 2, cy = (previewRect.top + previewRect.bottom) / 2;
    EXPECT_EQ(image->PixelAt(cx, cy), PatternWindow::ExpectedAt(cx, cy));
}

} // namespace
} // namespace korvan::e2e

namespace korvan::e2e {
namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The part of a grabbed control that is not the silver background.
Box ImageBox(const imaging::Bitmap& shot) {
    Box box;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            if (!(shot.PixelAt(x, y) == imaging::Rgb{192, 192, 192})) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

long long Round(double v) { return static_cast<long long>(std::nearbyint(v)); }

// Resizing the preview recomputes the zoom: 100 divided by the larger rounded ratio,
// the image centred in silver.
TEST(Preview, ResizingRecomputesTheZoomAndCentresTheImage) {
    Program program;
    PatternWindow pattern;
    HWND preview = program.CaptureDesktop();
    ASSERT_NE(preview, nullptr);
    HWND control = ::FindWindowExW(preview, nullptr, L"TShotImage", nullptr);
    ASSERT_NE(control, nullptr);
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);

    for (SIZE size : {SIZE{700, 600}, SIZE{420, 700}, SIZE{1000, 900}}) {
        ::SetWindowPos(preview, HWND_TOPMOST, 10, 10, size.cx, size.cy, 0);
        RECT outer = WindowRect(control);
        int w = outer.right - outer.left, h = outer.bottom - outer.top;
        long long n = std::max(Round(double(screenWidth) / (w - 60)), Round(double(screenHeight) / (h - 60)));
        int zoom = static_cast<int>(100 / n);
        int expectedWidth = static_cast<int>(Round(screenWidth * zoom / 100.0));
        int expectedHeight = static_cast<int>(Round(screenHeight * zoom / 100.0));
        RECT client{};
        ::GetClientRect(control, &client);
        POINT origin{0, 0};
        ::ClientToScreen(control, &origin);
        // Larger than the control on an axis: that axis scrolls and is filled.
        int visibleWidth = std::min(expectedWidth, int(client.right));
        int visibleHeight = std::min(expectedHeight, int(client.bottom));
        Box box;
        WaitFor([&] {  // until the control has painted at its new size
            box = ImageBox(GrabScreen(origin.x, origin.y, client.right, client.bottom));
            return box.right - box.left == visibleWidth && box.bottom - box.top == visibleHeight;
        });
        EXPECT_EQ(box.right - box.left, visibleWidth) << size.cx << "x" << size.cy << " zoom " << zoom;
        EXPECT_EQ(box.bottom - box.top, visibleHeight) << size.cx << "x" << size.cy << " zoom " << zoom;
        EXPECT_NEAR(box.left, (client.right - visibleWidth) / 2, 1);
        EXPECT_NEAR(box.top, (client.bottom - visibleHeight) / 2, 1);
    }
    SaveArtifact(preview, "preview-resized");
}

} // namespace
} // namespace korvan::e2e
