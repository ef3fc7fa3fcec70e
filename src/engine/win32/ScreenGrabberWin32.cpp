#include "engine/win32/ScreenGrabberWin32.h"

#include "engine/SdkStatus.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Handles.h"

#include <cstring>
#include <optional>

namespace korvan::sdk {

using win::GdiObject;
using win::MemoryDc;
using win::SelectionRestorer;

int ScreenGrabberWin32::GrabRect(DeviceContext dc, int left, int top, int right, int bottom, SdkBitmap& out) {
    int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return kZeroAreaSize;

    std::optional<win::WindowDc> screen;
    HDC source = reinterpret_cast<HDC>(dc);
    if (!source) {
        screen.emplace(nullptr);
        if (!*screen) return kScreenDcFailed;
        source = screen->get();
    }

    SdkBitmap bitmap;
    int status = SdkBitmap::Create(bitmap, width, height, 24);
    if (status != kSuccess) return status;

    // A top-down 24-bit DIB section has exactly the bitmap's row layout.
    BITMAPINFO info = win::TopDownDib(width, height, 24);
    void* bits = nullptr;
    GdiObject section(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return kNoMemory;
    MemoryDc memory(::CreateCompatibleDC(source));
    if (!memory) return kScreenDcFailed;
    {
        SelectionRestorer select(memory.get(), section.get());
        if (!::BitBlt(memory.get(), 0, 0, width, height, source, left, top, SRCCOPY | CAPTUREBLT))
            return kCaptureBitmapFailed;
        ::GdiFlush();
    }
    std::memcpy(bitmap.Data(), bits, bitmap.SizeBytes());
    out = std::move(bitmap);
    return kSuccess;
}

} // namespace korvan::sdk
