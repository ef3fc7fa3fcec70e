// The clipboard copy: replaces the content with a DIB (at once) and PNG (made when asked),
// waits for a busy clipboard while answering programs that ask for a form, and names the
// program that holds it when it gives up.
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "imaging/win32/ClipboardWin32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

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

const UINT kPngFormat = ::RegisterClipboardFormatW(L"PNG");

std::vector<uint8_t> Read(UINT format) {
    std::vector<uint8_t> bytes;
    for (int i = 0; !::OpenClipboard(nullptr); ++i) {  // Wine's clipboard manager may be reading
        if (i == 500) return bytes;
        ::Sleep(10);
    }
    if (HANDLE data = ::GetClipboardData(format)) {
        auto p = static_cast<const uint8_t*>(::GlobalLock(data));
        bytes.assign(p, p + ::GlobalSize(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return bytes;
}

std::vector<uint8_t> Png(const Bitmap& image) {
    VectorSink png;
    EXPECT_EQ(EncodeBitmap(image, kFormatPng, 24, 0, png), kSuccess);
    return png.bytes;
}

// Waits for the event while this thread answers its windows' messages, as a thread that
// owned the clipboard would have to (so a faulty copy fails the test instead of hanging it).
bool WaitPumping(HANDLE event, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD waited = ::GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        if (::MsgWaitForMultipleObjects(1, &event, FALSE, timeoutMs - waited, QS_ALLINPUT) == WAIT_OBJECT_0) return true;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
}

bool StartsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& start) {
    return bytes.size() >= start.size() && std::equal(start.begin(), start.end(), bytes.begin());
}

// The formats the clipboard's owner window was asked to make, seen by a hook on its thread.
class RenderRequests {
public:
    explicit RenderRequests(HWND owner) {
        instance_ = this;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetWindowThreadProcessId(owner, nullptr));
    }
    ~RenderRequests() {
        ::UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
    }
    bool Installed() const { return hook_ != nullptr; }
    std::vector<UINT> Formats() {
        std::lock_guard<std::mutex> hold(lock_);
        return formats_;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_RENDERFORMAT && instance_) {
            std::lock_guard<std::mutex> hold(instance_->lock_);
            instance_->formats_.push_back(static_cast<UINT>(call->wParam));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline RenderRequests* instance_ = nullptr;
    HHOOK hook_ = nullptr;
    std::mutex lock_;
    std::vector<UINT> formats_;
};

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

// The DIB is on the clipboard when the copy returns: a program ending, killed or crashing
// right after cannot lose the picture. No program had to ask the owner window for it.
TEST(ClipboardWin32, TheDibIsThereWithoutARenderRequest) {
    ClipboardWin32 clipboard;
    ASSERT_EQ(clipboard.CopyBitmap(0, Gradient(3, 3), 3).status, kSuccess);  // the owner window now exists
    RenderRequests requests(::GetClipboardOwner());
    ASSERT_TRUE(requests.Installed());
    const Bitmap image = Gradient(21, 9);
    ASSERT_EQ(clipboard.CopyBitmap(0, image, 3).status, kSuccess);
    EXPECT_TRUE(StartsWith(Read(CF_DIB), EncodeClipboardDib(image)));
    EXPECT_EQ(Read(kPngFormat), Png(image));  // the PNG form is made when asked for
    std::vector<UINT> asked = requests.Formats();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), UINT{CF_DIB}), 0);
    EXPECT_GE(std::count(asked.begin(), asked.end(), kPngFormat), 1);
}

// A PNG form not yet asked for is put on the clipboard when the clipboard object goes
// (the program ends), and also when the program asks it to keep its forms.
TEST(ClipboardWin32, ThePromisedFormIsKeptAtTheEnd) {
    const Bitmap image = Gradient(21, 9);
    for (bool keepFirst : {false, true}) {
        {
            ClipboardWin32 clipboard;
            ASSERT_EQ(clipboard.CopyBitmap(0, image, 3).status, kSuccess);
            if (keepFirst) clipboard.KeepOnClipboard();
        }
        EXPECT_EQ(Read(kPngFormat), Png(image)) << keepFirst;
        EXPECT_TRUE(StartsWith(Read(CF_DIB), EncodeClipboardDib(image))) << keepFirst;
    }
}

// A program holding the clipboard open while it waits for our PNG form, or for a window of
// the thread that copies, is answered while the next copy waits for the clipboard, so
// both succeed.
TEST(ClipboardWin32, AProgramAskingWhileTheCopyWaitsIsAnswered) {
    const Bitmap first = Gradient(8, 5), second = Gradient(6, 6);
    ClipboardWin32 clipboard;
    ASSERT_EQ(clipboard.CopyBitmap(0, first, 3).status, kSuccess);
    HWND owner = ::GetClipboardOwner();
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<uint8_t> png;
    std::thread reader([&] {
        while (!::OpenClipboard(nullptr)) ::Sleep(5);
        ::SetEvent(opened);
        ::Sleep(100);  // lets the copy reach its wait; a message sent before is answered all the same
        // What the system does for a program asking for a promised form, also when a
        // clipboard manager has made it already.
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(owner, WM_RENDERFORMAT, kPngFormat, 0, SMTO_NORMAL, 5000, &answer);
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        if (HANDLE data = ::GetClipboardData(kPngFormat)) {
            auto p = static_cast<const uint8_t*>(::GlobalLock(data));
            png.assign(p, p + ::GlobalSize(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
        ::SetEvent(done);
    });
    ::WaitForSingleObject(opened, 5000);
    ClipboardResult result = clipboard.CopyBitmap(0, second, 3);
    EXPECT_TRUE(WaitPumping(done, 10000));
    reader.join();
    EXPECT_EQ(result.status, kSuccess) << result.detail;
    EXPECT_EQ(png, Png(first));
    EXPECT_TRUE(StartsWith(Read(CF_DIB), EncodeClipboardDib(second)));
    ::DestroyWindow(window);
    ::CloseHandle(opened);
    ::CloseHandle(done);
}

// A program asking for the PNG form is answered while the thread that copied is busy
// (pasting, showing the preview, saving) and handles no messages.
TEST(ClipboardWin32, AProgramAskingWhileTheCallerIsBusyIsAnswered) {
    const Bitmap image = Gradient(9, 7);
    ClipboardWin32 clipboard;
    ASSERT_EQ(clipboard.CopyBitmap(0, image, 3).status, kSuccess);
    std::vector<uint8_t> png;
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread reader([&] {
        png = Read(kPngFormat);
        ::SetEvent(done);
    });
    EXPECT_EQ(::WaitForSingleObject(done, 5000), WAIT_OBJECT_0);  // no messages handled here
    WaitPumping(done, 10000);
    reader.join();
    EXPECT_EQ(png, Png(image));
    ::CloseHandle(done);
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
