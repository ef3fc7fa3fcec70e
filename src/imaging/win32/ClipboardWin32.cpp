#include "imaging/win32/ClipboardWin32.h"

#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

#include <windows.h>

#include <cstring>

namespace korvan::imaging {
namespace {

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
    HWND holder = ::GetOpenClipboardWindow();
    if (!holder) return "held by another program";
    DWORD processId = 0;
    ::GetWindowThreadProcessId(holder, &processId);
    std::wstring name = ProcessNameOf(processId);
    if (name.empty()) return "held by another program";
    return "held by " + win::Narrow(name);
}

bool OpenWithRetry(HWND owner, int timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (::OpenClipboard(owner)) return true;
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
        ::Sleep(10);
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

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* clipboard = reinterpret_cast<ClipboardWin32*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (clipboard && clipboard->HandleOwnerMessage(message, wParam)) return 0;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class ClipboardSession {
public:
    ~ClipboardSession() { if (open_) ::CloseClipboard(); }
    bool Open(HWND owner, int timeoutMs) { return open_ = OpenWithRetry(owner, timeoutMs); }

private:
    bool open_ = false;
};

} // namespace

size_t ClipboardDibSize(const Bitmap& bitmap) {
    return sizeof(BITMAPINFOHEADER) + Bitmap::StrideFor(bitmap.Width(), 24) * static_cast<size_t>(bitmap.Height());
}

void WriteClipboardDib(const Bitmap& bitmap, uint8_t* out) {
    size_t stride = Bitmap::StrideFor(bitmap.Width(), 24);
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
    // 24-bit rows go across as they are; other depths are converted one row at a time.
    Bitmap converted;
    const Bitmap* source = &bitmap;
    if (bitmap.BitsPerPixel() != 24) {
        converted = ToRgb24(bitmap);
        source = &converted;
    }
    for (int y = source->Height() - 1; y >= 0; --y, out += stride) std::memcpy(out, source->Row(y), stride);
}

std::vector<uint8_t> EncodeClipboardDib(const Bitmap& bitmap) {
    std::vector<uint8_t> dib(ClipboardDibSize(bitmap));
    WriteClipboardDib(bitmap, dib.data());
    return dib;
}

ClipboardWin32::~ClipboardWin32() {
    if (!window_) return;
    RenderAll();
    // The promises are kept: destroying the owner now finds nothing left to render.
    ::DestroyWindow(static_cast<HWND>(window_));
}

bool ClipboardWin32::EnsureOwnerWindow() {
    if (window_) return true;
    static const wchar_t kClass[] = L"KorvanClipboardOwner";
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    HWND hwnd = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return false;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = hwnd;
    return true;
}

bool ClipboardWin32::HandleOwnerMessage(unsigned message, uintptr_t wParam) {
    switch (message) {
    case WM_RENDERFORMAT: Render(static_cast<UINT>(wParam)); return true;
    case WM_RENDERALLFORMATS: RenderAll(); return true;
    case WM_DESTROYCLIPBOARD: Forget(); return true;
    default: return false;
    }
}

void ClipboardWin32::Render(unsigned format) {
    if (pending_.Empty()) return;
    if (format == CF_DIB && dibPromised_) {
        if (Place(CF_DIB, GlobalDib(pending_))) dibPromised_ = false;
    } else if (format == PngFormat() && pngPromised_) {
        VectorSink png;
        if (EncodeBitmap(pending_, kFormatPng, 24, 0, png) == kSuccess && Place(format, ToGlobal(png.bytes))) pngPromised_ = false;
    }
    if (!dibPromised_ && !pngPromised_) pending_.Reset();
}

void ClipboardWin32::RenderAll() {
    if (!dibPromised_ && !pngPromised_) return;
    HWND hwnd = static_cast<HWND>(window_);
    ClipboardSession session;
    // Only while the clipboard is still ours: another program may have taken it meanwhile.
    if (session.Open(hwnd, kOpenTimeoutMs) && ::GetClipboardOwner() == hwnd) {
        Render(CF_DIB);
        Render(PngFormat());
    }
    Forget();
}

void ClipboardWin32::Forget() {
    pending_.Reset();
    dibPromised_ = pngPromised_ = false;
}

ClipboardResult ClipboardWin32::CopyBitmap(WindowId owner, const Bitmap& bitmap, int flags) {
    if (bitmap.Empty()) return {kInvalidBitmap, {}};
    // Promises need the clipboard emptied, which makes our window its owner.
    if (!(flags & 1) || !EnsureOwnerWindow()) return CopyNow(reinterpret_cast<HWND>(owner), bitmap, flags);
    Bitmap copy;
    try {
        copy = bitmap;
    } catch (const std::bad_alloc&) {
        return {kNoMemory, {}};
    }
    HWND hwnd = static_cast<HWND>(window_);
    ClipboardSession session;
    if (!session.Open(hwnd, kOpenTimeoutMs)) return {kClipboardOpenFailed, ClipboardHolder()};
    if (!::EmptyClipboard()) return {kClipboardWriteFailed, {}};  // tells the old owner, maybe us, to forget
    pending_ = std::move(copy);
    dibPromised_ = pngPromised_ = true;
    ::SetClipboardData(CF_DIB, nullptr);
    ::SetClipboardData(PngFormat(), nullptr);
    if (!::IsClipboardFormatAvailable(CF_DIB)) {
        Forget();
        return {kClipboardWriteFailed, {}};
    }
    return {kSuccess, {}};
}

// Both forms made at once, for a copy that adds to the clipboard without emptying it.
ClipboardResult ClipboardWin32::CopyNow(void* owner, const Bitmap& bitmap, int flags) {
    // Prepare both forms before the clipboard is opened, so it is held as briefly as possible.
    win::GlobalMemory dib = GlobalDib(bitmap);
    if (!dib) return {kNoMemory, {}};
    VectorSink png;
    bool havePng = EncodeBitmap(bitmap, kFormatPng, 24, 0, png) == kSuccess;

    ClipboardSession session;
    if (!session.Open(static_cast<HWND>(owner), kOpenTimeoutMs)) return {kClipboardOpenFailed, ClipboardHolder()};
    if ((flags & 1) && !::EmptyClipboard()) return {kClipboardWriteFailed, {}};
    if (!Place(CF_DIB, std::move(dib))) return {kClipboardWriteFailed, {}};
    if (havePng) Place(PngFormat(), ToGlobal(png.bytes));
    return {kSuccess, {}};
}

} // namespace korvan::imaging
