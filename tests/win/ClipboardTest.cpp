// The clipboard copy: replaces the content with a DIB and PNG, waits for a busy
// clipboard, and names the program that holds it when it gives up.
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "imaging/win32/ClipboardWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace korvan::imaging {
namespace {

Bitmap Gradient(int width, int height) {
    Bitmap bitmap;
    EXPECT_EQ(Bitmap::Create(bitmap, width, height, 24), kSuccess);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, {uint8_t(x * 9), uint8_t(y * 13), uint8_t(x + y)});
    return bitmap;
}

void PutText(const char* text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(::GlobalLock(memory), text, std::strlen(text) + 1);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
}

TEST(ClipboardWin32, ReplacesTheContentWithTheImage) {
    PutText("old content");
    Bitmap image = Gradient(13, 7);  // odd width: rows are padded
    ClipboardWin32 clipboard;
    ASSERT_EQ(clipboard.CopyBitmap(0, image, 3).status, kSuccess);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"PNG")));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    auto header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data));
    EXPECT_EQ(header->biWidth, 13);
    EXPECT_EQ(header->biHeight, 7);
    EXPECT_EQ(header->biBitCount, 24);
    auto bits = reinterpret_cast<const uint8_t*>(header + 1);
    size_t stride = 40;  // 13 * 3 rounded up to 4
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const uint8_t* p = bits + static_cast<size_t>(6 - y) * stride + 3 * static_cast<size_t>(x);
            Rgb expected = image.PixelAt(x, y);
            ASSERT_EQ((Rgb{p[2], p[1], p[0]}), expected) << x << "," << y;
        }
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

// The forms are made when asked for, and whatever is still promised when the clipboard
// object goes (the program ends) is put on the clipboard then: the pasted bytes are the same.
TEST(ClipboardWin32, PromisedFormsAreMadeOnRequestAndKeptAtTheEnd) {
    Bitmap image = Gradient(21, 9);
    VectorSink png;
    ASSERT_EQ(EncodeBitmap(image, kFormatPng, 24, 0, png), kSuccess);
    const std::vector<uint8_t> dib = EncodeClipboardDib(image);
    const UINT pngFormat = ::RegisterClipboardFormatW(L"PNG");
    auto read = [](UINT format) {
        std::vector<uint8_t> bytes;
        if (!::OpenClipboard(nullptr)) return bytes;
        if (HANDLE data = ::GetClipboardData(format)) {
            auto p = static_cast<const uint8_t*>(::GlobalLock(data));
            bytes.assign(p, p + ::GlobalSize(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
        return bytes;
    };
    for (bool askFirst : {true, false}) {
        {
            ClipboardWin32 clipboard;
            ASSERT_EQ(clipboard.CopyBitmap(0, image, 3).status, kSuccess);
            if (askFirst) {
                EXPECT_EQ(read(pngFormat), png.bytes);
            }
        }
        EXPECT_EQ(read(pngFormat), png.bytes) << askFirst;
        std::vector<uint8_t> pasted = read(CF_DIB);
        ASSERT_GE(pasted.size(), dib.size()) << askFirst;
        EXPECT_TRUE(std::equal(dib.begin(), dib.end(), pasted.begin())) << askFirst;
    }
}

// Another program holding the clipboard for a moment does not make the copy fail.
TEST(ClipboardWin32, WaitsWhileTheClipboardIsBriefly) {
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        ::OpenClipboard(nullptr);
        ::SetEvent(opened);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::CloseClipboard();
    });
    ::WaitForSingleObject(opened, 5000);
    ClipboardWin32 clipboard;
    auto start = std::chrono::steady_clock::now();
    ClipboardResult result = clipboard.CopyBitmap(0, Gradient(4, 4), 3);
    holder.join();
    EXPECT_EQ(result.status, kSuccess);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    ::CloseHandle(opened);
}

// Held for longer than a second: the copy fails and says who holds the clipboard.
TEST(ClipboardWin32, NamesTheProgramThatKeepsTheClipboard) {
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ::OpenClipboard(owner);
        ::SetEvent(opened);
        ::WaitForSingleObject(release, 10000);
        ::CloseClipboard();
        ::DestroyWindow(owner);
    });
    ::WaitForSingleObject(opened, 5000);
    ClipboardWin32 clipboard;
    ClipboardResult result = clipboard.CopyBitmap(0, Gradient(4, 4), 3);
    ::SetEvent(release);
    holder.join();
    EXPECT_EQ(result.status, kClipboardOpenFailed);
    EXPECT_NE(result.detail.find("win_tests.exe"), std::string::npos) << result.detail;
    ::CloseHandle(opened);
    ::CloseHandle(release);
}

} // namespace
} // namespace korvan::imaging
