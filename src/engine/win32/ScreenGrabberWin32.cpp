#include "engine/win32/ScreenGrabberWin32.h"

#include "engine/SdkStatus.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Handles.h"

#include <cstring>
#include <optional>

namespace korvan::sdk {
namespace {

// B, G, R, X pixels to B, G, R: four pixels into three 32-bit words at a time.
void PackRow(const uint8_t* source, uint8_t* target, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, source += 16, target += 12) {
        uint32_t p[4], w[3];
        std::memcpy(p, source, 16);
        w[0] = (p[0] & 0xFFFFFFu) | (p[1] << 24);
        w[1] = ((p[1] >> 8) & 0xFFFFu) | (p[2] << 16);
        w[2] = ((p[2] >> 16) & 0xFFu) | (p[3] << 8);
        std::memcpy(target, w, 12);
    }
    for (; x < width; ++x, source += 4, target += 3) {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
    }
}

} // namespace

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

    // The screen's own layout, 32 bits a pixel, is the one the display copies fastest;
    // it is packed to 24 bits here, in one pass.
    BITMAPINFO info = win::TopDownDib(width, height, 32);
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
    const auto* pixels = static_cast<const uint8_t*>(bits);
    const size_t sourceStride = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) PackRow(pixels + sourceStride * static_cast<size_t>(y), bitmap.Row(y), width);
    out = std::move(bitmap);
    return kSuccess;
}

} // namespace korvan::sdk
