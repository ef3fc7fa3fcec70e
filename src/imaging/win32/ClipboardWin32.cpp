#include "imaging/win32/ClipboardWin32.h"

#include "imaging/ColorReduction.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace korvan::imaging {
namespace {

constexpr wchar_t kOwnerClass[] = L"KorvanClipboardOwner";
// Requests from the caller's thread to the owner window's thread.
constexpr UINT kKeepMessage = WM_APP + 1;
constexpr UINT kEndMessage = WM_APP + 2;

std::wstring ProcessNameOf(DWORD processId) {
    win::KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    if (!::QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    std::wstring full(path, size);
    size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

std::string ClipboardHolder() {
    try {
        HWND holder = ::GetOpenClipboardWindow();
        if (!holder) return "held by another program";
        DWORD processId = 0;
        ::GetWindowThreadProcessId(holder, &processId);
        std::wstring name = ProcessNameOf(processId);
        if (name.empty()) return "held by another program";
        return "held by " + win::Narrow(name);
    } catch (const std::bad_alloc&) {
        return {};  // the failure is told without the name
    }
}

// Waits for a clipboard another program holds open. Messages sent to this thread's
// windows are answered meanwhile: the program holding the clipboard may be waiting for
// one of them.
bool OpenWithRetry(HWND owner, int timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::OpenClipboard(owner)) return true;
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= static_cast<DWORD>(timeoutMs)) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, static_cast<DWORD>(timeoutMs) - waited),
                                    QS_SENDMESSAGE);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

win::GlobalMemory ToGlobal(const std::vector<uint8_t>& bytes) {
    win::GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!memory) return memory;
    void* p = ::GlobalLock(memory.get());
    if (!p) return {};
    std::memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(memory.get());
    return memory;
}

// The DIB form written straight into the memory the clipboard takes over.
win::GlobalMemory GlobalDib(const Bitmap& bitmap) {
    win::GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, ClipboardDibSize(bitmap)));
    if (!memory) return memory;
    void* p = ::GlobalLock(memory.get());
    if (!p) return {};
    WriteClipboardDib(bitmap, static_cast<uint8_t*>(p));
    ::GlobalUnlock(memory.get());
    return memory;
}

// Hands the memory to the clipboard; the clipboard owns it only when the call succeeded.
bool Place(UINT format, win::GlobalMemory memory) {
    if (!memory) return false;
    if (!::SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

UINT PngFormat() { return ::RegisterClipboardFormatW(L"PNG"); }

class ClipboardSession {
public:
    ~ClipboardSession() { if (open_) ::CloseClipboard(); }
    bool Open(HWND owner, int timeoutMs) { return open_ = OpenWithRetry(owner, timeoutMs); }

private:
    bool open_ = false;
};

} // namespace

// The hidden window that owns the clipboard, on a thread of its own that does nothing else,
// so a program asking for the promised form is answered at once. The copy itself runs on
// the caller's thread with this window as the owner; the image behind the promise is the
// one thing both threads touch.
class ClipboardWin32::OwnerThread {
public:
    // Null when no thread or window could be had.
    static std::unique_ptr<OwnerThread> Start() {
        try {
            auto owner = std::make_unique<OwnerThread>();
            win::KernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
            if (!ready) return nullptr;
            owner->thread_ = std::thread(&OwnerThread::Run, owner.get(), ready.get());
            ::WaitForSingleObject(ready.get(), INFINITE);
            if (!owner->window_) return nullptr;  // the thread has ended; joined by the destructor
            return owner;
        } catch (const std::bad_alloc&) {
            return nullptr;
        } catch (const std::system_error&) {
            return nullptr;
        }
    }

    ~OwnerThread() {
        if (window_) ::SendMessageW(window_, kEndMessage, 0, 0);
        if (thread_.joinable()) thread_.join();
    }

    ClipboardResult Copy(std::shared_ptr<const Bitmap> image) {
        // The DIB is made before the clipboard is opened, so it is held only briefly.
        win::GlobalMemory dib = GlobalDib(*image);
        if (!dib) return {kNoMemory, {}};
        ClipboardSession session;
        if (!session.Open(window_, kOpenTimeoutMs)) return {kClipboardOpenFailed, ClipboardHolder()};
        // Emptying makes the owner window the owner and tells the previous one, maybe it,
        // to forget its promises.
        if (!::EmptyClipboard() || !Place(CF_DIB, std::move(dib))) return {kClipboardWriteFailed, {}};
        Promise(std::move(image));
        ::SetClipboardData(PngFormat(), nullptr);
        if (!::IsClipboardFormatAvailable(PngFormat())) Promise(nullptr);
        return {kSuccess, {}};
    }

    void Keep() { ::SendMessageW(window_, kKeepMessage, 0, 0); }

private:
    void Run(HANDLE ready) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &OwnerThread::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kOwnerClass;
        ::RegisterClassW(&wc);  // fails harmlessly when already registered
        HWND hwnd = ::CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        if (hwnd) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = hwnd;
        ::SetEvent(ready);
        if (!hwnd) return;
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* owner = reinterpret_cast<OwnerThread*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (owner && owner->Handle(message, wParam)) return 0;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool Handle(UINT message, WPARAM wParam) {
        switch (message) {
        case kKeepMessage: RenderAll(); return true;
        case kEndMessage:
            RenderAll();
            ::DestroyWindow(window_);
            return true;
        case WM_RENDERFORMAT:
            if (wParam == PngFormat()) RenderPng();  // the only form promised
            return true;
        case WM_RENDERALLFORMATS: RenderAll(); return true;
        case WM_DESTROYCLIPBOARD: Promise(nullptr); return true;
        case WM_DESTROY: ::PostQuitMessage(0); return true;
        default: return false;
        }
    }

    void Promise(std::shared_ptr<const Bitmap> image) {
        std::lock_guard<std::mutex> hold(lock_);
        pending_ = std::move(image);
    }
    std::shared_ptr<const Bitmap> Pending() {
        std::lock_guard<std::mutex> hold(lock_);
        return pending_;
    }

    // The promised PNG form, the clipboard being open. Without the memory for it the form
    // stays empty for now (the next request tries again); the DIB is there regardless.
    void RenderPng() {
        std::shared_ptr<const Bitmap> image = Pending();
        if (!image) return;
        VectorSink png;
        if (EncodeBitmap(*image, kFormatPng, 24, 0, png) == kSuccess && Place(PngFormat(), ToGlobal(png.bytes)))
            Promise(nullptr);
    }

    void RenderAll() {
        if (!Pending()) return;
        ClipboardSession session;
        // Only while the clipboard is still ours: another program may have taken it meanwhile.
        if (session.Open(window_, kOpenTimeoutMs) && ::GetClipboardOwner() == window_) RenderPng();
        Promise(nullptr);
    }

    HWND window_ = nullptr;
    std::thread thread_;
    std::mutex lock_;
    std::shared_ptr<const Bitmap> pending_;  // the image of the promised PNG form
};

size_t ClipboardDibSize(const Bitmap& bitmap) {
    return sizeof(BITMAPINFOHEADER) + Bitmap::StrideFor(bitmap.Width(), 24) * static_cast<size_t>(bitmap.Height());
}

void WriteClipboardDib(const Bitmap& bitmap, uint8_t* out) {
    const size_t stride = Bitmap::StrideFor(bitmap.Width(), 24);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = bitmap.Width();
    header.biHeight = bitmap.Height();  // bottom-up, as every program expects
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(bitmap.Height()));
    header.biXPelsPerMeter = header.biYPelsPerMeter = 3780;
    std::memcpy(out, &header, sizeof(header));
    out += sizeof(header);
    for (int y = bitmap.Height() - 1; y >= 0; --y, out += stride) {
        if (bitmap.BitsPerPixel() == 24) {
            std::memcpy(out, bitmap.Row(y), stride);
            continue;
        }
        // Other depths are converted in place, row by row: red, green, blue turned around.
        ReadRgbRow(bitmap, y, out);
        for (int x = 0; x < bitmap.Width(); ++x) std::swap(out[3 * x], out[3 * x + 2]);
        std::fill(out + 3 * static_cast<size_t>(bitmap.Width()), out + stride, uint8_t{0});
    }
}

std::vector<uint8_t> EncodeClipboardDib(const Bitmap& bitmap) {
    std::vector<uint8_t> dib(ClipboardDibSize(bitmap));
    WriteClipboardDib(bitmap, dib.data());
    return dib;
}

ClipboardWin32::ClipboardWin32() = default;

ClipboardWin32::~ClipboardWin32() = default;  // the owner thread keeps what is promised first

void ClipboardWin32::KeepOnClipboard() {
    if (owner_) owner_->Keep();
}

namespace {

// Both forms made at once: a copy that adds to the clipboard without emptying it, or one
// made when no owner thread could be had.
ClipboardResult CopyNow(HWND owner, const Bitmap& bitmap, int flags) {
    // Prepare both forms before the clipboard is opened, so it is held as briefly as possible.
    win::GlobalMemory dib = GlobalDib(bitmap);
    if (!dib) return {kNoMemory, {}};
    VectorSink png;
    const int encoded = EncodeBitmap(bitmap, kFormatPng, 24, 0, png);
    if (encoded == kNoMemory) return {kNoMemory, {}};

    ClipboardSession session;
    if (!session.Open(owner, ClipboardWin32::kOpenTimeoutMs)) return {kClipboardOpenFailed, ClipboardHolder()};
    if ((flags & 1) && !::EmptyClipboard()) return {kClipboardWriteFailed, {}};
    if (!Place(CF_DIB, std::move(dib))) return {kClipboardWriteFailed, {}};
    if (encoded == kSuccess) Place(PngFormat(), ToGlobal(png.bytes));
    return {kSuccess, {}};
}

} // namespace

ClipboardResult ClipboardWin32::CopyBitmap(WindowId owner, const Bitmap& bitmap, int flags) {
    if (bitmap.Empty()) return {kInvalidBitmap, {}};
    // A promise needs the clipboard emptied, which makes the owner window its owner.
    if ((flags & 1) && !owner_) owner_ = OwnerThread::Start();
    if (!(flags & 1) || !owner_) return CopyNow(reinterpret_cast<HWND>(owner), bitmap, flags);
    std::shared_ptr<const Bitmap> copy;
    try {
        copy = std::make_shared<const Bitmap>(bitmap);
    } catch (const std::bad_alloc&) {
        return {kNoMemory, {}};
    }
    return owner_->Copy(std::move(copy));
}

ClipboardResult ClipboardWin32::CopySharedBitmap(WindowId owner, std::shared_ptr<const Bitmap> bitmap, int flags) {
    if (!bitmap || bitmap->Empty()) return {kInvalidBitmap, {}};
    if ((flags & 1) && !owner_) owner_ = OwnerThread::Start();
    if (!(flags & 1) || !owner_) return CopyNow(reinterpret_cast<HWND>(owner), *bitmap, flags);
    return owner_->Copy(std::move(bitmap));
}

} // namespace korvan::imaging
