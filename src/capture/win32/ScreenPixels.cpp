#include "capture/win32/ScreenPixels.h"

#include "imaging/Status.h"
#include "imaging/win32/MonitorsWin32.h"
#include "platform/win32/Dib.h"
#include "platform/win32/SystemLibrary.h"

namespace korvan::win {

namespace {

// The window manager's attribute call, looked up once: dwmapi is absent on some systems.
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
DwmGetWindowAttributeFn DwmAttribute() {
    static DwmGetWindowAttributeFn function = [] {
        HMODULE module = LoadSystemLibrary(L"dwmapi.dll");
        return module ? reinterpret_cast<DwmGetWindowAttributeFn>(
                            reinterpret_cast<void*>(::GetProcAddress(module, "DwmGetWindowAttribute")))
                      : nullptr;
    }();
    return function;
}

constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
constexpr DWORD kCloaked = 14;             // DWMWA_CLOAKED

} // namespace

ScreenPixels::~ScreenPixels() { Release(); }

void ScreenPixels::Release() {
    if (dc_ && previous_) ::SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    section_.reset();
    bits_ = nullptr;
    bounds_ = {};
}

int ScreenPixels::Grab(const Rect& screen) {
    Release();
    if (screen.Empty()) return imaging::kZeroAreaSize;
    WindowDc desktop(nullptr);
    if (!desktop) return imaging::kScreenDcFailed;
    BITMAPINFO info = TopDownDib(screen.Width(), screen.Height(), 32);
    section_.reset(::CreateDIBSection(desktop.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!section_ || !bits_) {
        Release();
        return imaging::kNoMemory;
    }
    dc_.reset(::CreateCompatibleDC(desktop.get()));
    if (!dc_) {
        Release();
        return imaging::kScreenDcFailed;
    }
    previous_ = ::SelectObject(dc_.get(), section_.get());
    if (!::BitBlt(dc_.get(), 0, 0, screen.Width(), screen.Height(), desktop.get(), screen.left, screen.top,
                  SRCCOPY | CAPTUREBLT)) {
        Release();
        return imaging::kCaptureBitmapFailed;
    }
    imaging::BlackenPartsOnNoMonitor(dc_.get(), {screen.left, screen.top, screen.right, screen.bottom});
    ::GdiFlush();
    bounds_ = screen;
    return imaging::kSuccess;
}

PixelSource ScreenPixels::Pixels() const {
    return {static_cast<const uint8_t*>(bits_), static_cast<size_t>(bounds_.Width()) * 4, bounds_};
}

Rect VirtualScreenRect() {
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::vector<Rect> MonitorRects() {
    std::vector<Rect> monitors;
    for (const ScreenRect& m : imaging::MonitorScreenRects()) monitors.push_back({m.left, m.top, m.right, m.bottom});
    return monitors;
}

Rect VisibleWindowBounds(HWND window) {
    RECT frame{};
    if (auto attribute = DwmAttribute();
        attribute && SUCCEEDED(attribute(window, kExtendedFrameBounds, &frame, sizeof(frame))) &&
        frame.right > frame.left && frame.bottom > frame.top)
        return ToRect(frame);
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return {};
    return ToRect(rect);
}

bool IsCloaked(HWND window) {
    DWORD cloaked = 0;
    auto attribute = DwmAttribute();
    return attribute && SUCCEEDED(attribute(window, kCloaked, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

} // namespace korvan::win
