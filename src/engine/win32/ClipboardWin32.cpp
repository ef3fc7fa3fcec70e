#include "engine/win32/ClipboardWin32.h"

#include "engine/ImageFile.h"
#include "engine/SdkStatus.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

#include <windows.h>

#include <cstring>

namespace korvan::sdk {
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

// Hands the memory to the clipboard; the clipboard owns it only when the call succeeded.
bool Place(UINT format, win::GlobalMemory memory) {
    if (!memory) return false;
    if (!::SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

class ClipboardSession {
public:
    ~ClipboardSession() { if (open_) ::CloseClipboard(); }
    bool Open(HWND owner, int timeoutMs) { return open_ = OpenWithRetry(owner, timeoutMs); }

private:
    bool open_ = false;
};

} // namespace

std::vector<uint8_t> EncodeClipboardDib(const SdkBitmap& bitmap) {
    SdkBitmap rgb = ToRgb24(bitmap);
    size_t imageSize = rgb.Stride() * static_cast<size_t>(rgb.Height());
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + imageSize);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = rgb.Width();
    header.biHeight = rgb.Height();
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageSize);
    header.biXPelsPerMeter = header.biYPelsPerMeter = 3780;
    std::memcpy(dib.data(), &header, sizeof(header));
    uint8_t* out = dib.data() + sizeof(header);
    for (int y = rgb.Height() - 1; y >= 0; --y, out += rgb.Stride()) std::memcpy(out, rgb.Row(y), rgb.Stride());
    return dib;
}

ClipboardResult ClipboardWin32::CopyBitmap(WindowId owner, const SdkBitmap& bitmap, int flags) {
    if (bitmap.Empty()) return {kInvalidBitmap, {}};
    // Prepare both forms before the clipboard is opened, so it is held as briefly as possible.
    win::GlobalMemory dib = ToGlobal(EncodeClipboardDib(bitmap));
    if (!dib) return {kNoMemory, {}};
    VectorSink png;
    bool havePng = EncodeBitmap(bitmap, kFormatPng, 24, 0, png) == kSuccess;

    ClipboardSession session;
    if (!session.Open(reinterpret_cast<HWND>(owner), kOpenTimeoutMs)) return {kClipboardOpenFailed, ClipboardHolder()};
    if ((flags & 1) && !::EmptyClipboard()) return {kClipboardWriteFailed, {}};
    if (!Place(CF_DIB, std::move(dib))) return {kClipboardWriteFailed, {}};
    if (havePng) Place(::RegisterClipboardFormatW(L"PNG"), ToGlobal(png.bytes));
    return {kSuccess, {}};
}

} // namespace korvan::sdk
