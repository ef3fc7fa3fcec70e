// The full-desktop capture seen from outside: the screen lands on the clipboard pixel
// for pixel, the preview shows it, and the main window comes back.
#include "app/ToolbarLayout.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

int Id(Command command) { return static_cast<int>(command); }

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

TEST(DesktopCapture, PutsTheWholeScreenOnTheClipboardAndShowsThePreview) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT before = WindowRect(program.MainWindow());
    int width = before.right - before.left;

    program.ClickButton(Id(Command::Desktop));
    // Moved off the desktop (not minimised) while the screen settles.
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == -2 * width; },
                        std::chrono::milliseconds(450)));
    EXPECT_FALSE(::IsIconic(program.MainWindow()));

    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(program.MainWindow()).left == before.left; }));

    std::optional<sdk::SdkBitmap> image = ClipboardImage();
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

    PumpMessages(std::chrono::milliseconds(300));
    SaveArtifact(preview, "preview-desktop-capture");
}

// A second capture with the preview open closes it before the grab, so the preview is
// not in the picture, and shows it again afterwards.
TEST(DesktopCapture, ClosesThePreviewBeforeGrabbingAndShowsItAgain) {
    Program program;
    PatternWindow pattern;
    ::SetWindowPos(program.MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    program.ClickButton(Id(Command::Desktop));
    HWND preview = program.FindForm(L"TImage");
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    PumpMessages(std::chrono::milliseconds(300));

    program.ClickButton(Id(Command::Desktop));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) == 0; }, std::chrono::milliseconds(450)));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(preview) != 0; }));
    std::optional<sdk::SdkBitmap> image = ClipboardImage();
    ASSERT_TRUE(image.has_value());
    RECT previewRect = WindowRect(preview);
    int cx = (previewRect.left + previewRect.right) / 2, cy = (previewRect.top + previewRect.bottom) / 2;
    EXPECT_EQ(image->PixelAt(cx, cy), PatternWindow::ExpectedAt(cx, cy));
}

} // namespace
} // namespace korvan::e2e
