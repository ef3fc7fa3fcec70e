#include "imaging/win32/ScreenGrabberWin32.h"

#include "imaging/Status.h"
#include "imaging/win32/MonitorsWin32.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Handles.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>
#include <algorithm>

namespace korvan::imaging {
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

int ScreenGrabberWin32::GrabRect(DeviceContext dc, int left, int top, int right, int bottom, Bitmap& out) {
    int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return kZeroAreaSize;

    std::optional<win::WindowDc> screen;
    HDC source = reinterpret_cast<HDC>(dc);
    if (!source) {
        screen.emplace(nullptr);
        if (!*screen) return kScreenDcFailed;
        source = screen->get();
    }

    Bitmap bitmap;
    int status = Bitmap::Create(bitmap, width, height, 24);
    if (status != kSuccess) return status;

    // The screen's own layout, 32 bits a pixel, is the one the display copies fastest;
    // it is packed to 24 bits here, in one pass.
    BITMAPINFO info = win::TopDownDib(width, height, 32);
    void* bits = nullptr;
    GdiObject section(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return kNoMemory;
    MemoryDc memory(::CreateCompatibleDC(source));
    if (!memory) return kScreenDcFailed;

    // The display copies band after band while another core packs the bands already there.
    const int bands = height >= 256 && std::thread::hardware_concurrency() > 1 ? 8 : 1;
    const auto* pixels = static_cast<const uint8_t*>(bits);
    const size_t sourceStride = static_cast<size_t>(width) * 4;
    auto bandTop = [&](int band) { return static_cast<int>(static_cast<long long>(height) * band / bands); };
    auto pack = [&](int band) {
        for (int y = bandTop(band); y < bandTop(band + 1); ++y)
            PackRow(pixels + sourceStride * static_cast<size_t>(y), bitmap.Row(y), width);
    };
    std::mutex lock;
    std::condition_variable changed;
    int copied = 0;
    bool stop = false;
    std::thread packer;
    if (bands > 1) {
        try {
            packer = std::thread([&] {
                for (int band = 0; band < bands; ++band) {
                    std::unique_lock<std::mutex> hold(lock);
                    changed.wait(hold, [&] { return copied > band || stop; });
                    if (stop) return;
                    hold.unlock();
                    pack(band);
                }
            });
        } catch (const std::exception&) {
            // No thread to be had: the bands are packed here after the copy.
        }
    }
    const bool packing = packer.joinable();
    bool ok = true;
    // Parts of the screen no monitor shows hold stale memory of the display; only a grab
    // of the screen itself has them.
    std::vector<ScreenRect> unseen;
    if (!dc) unseen = PartsOnNoMonitor({left, top, right, bottom}, MonitorScreenRects());
    {
        SelectionRestorer select(memory.get(), section.get());
        for (int band = 0; band < bands && ok; ++band) {
            int y = bandTop(band), rows = bandTop(band + 1) - y;
            ok = ::BitBlt(memory.get(), 0, y, width, rows, source, left, top + y, SRCCOPY | CAPTUREBLT) != FALSE;
            for (const ScreenRect& part : unseen) {
                RECT r{part.left - left, std::max(part.top - top, y), part.right - left, std::min(part.bottom - top, y + rows)};
                if (r.bottom > r.top) ::FillRect(memory.get(), &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            }
            ::GdiFlush();
            std::lock_guard<std::mutex> hold(lock);
            if (ok) ++copied;
            else stop = true;
            changed.notify_one();
        }
    }
    if (packing) packer.join();
    if (!ok) return kCaptureBitmapFailed;
    if (!packing)
        for (int band = 0; band < bands; ++band) pack(band);
    out = std::move(bitmap);
    return kSuccess;
}

} // namespace korvan::imaging
