#include "image/win32/ImageView.h"

#include "imaging/Resample.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Handles.h"

#include <algorithm>

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TShotImage";

} // namespace

ImageView::ImageView(HWND parent, ImageDocument& document) : document_(document) {
    RegisterClassOnce(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr);
    CreateWindowOf(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                   L"", 0, 0, 288, 207, parent);
    document_.SetWindowId(reinterpret_cast<imaging::WindowId>(Hwnd()));
    document_.OnInvalidate([this] {
        UpdateScrollBars();
        if (Hwnd()) ::InvalidateRect(Hwnd(), nullptr, FALSE);
    });
    SizeChanged();
}

void ImageView::Place(int x, int y, int width, int height) {
    ::MoveWindow(Hwnd(), x, y, width, height, TRUE);
}

LRESULT ImageView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // painting fills the background itself, without flicker
    case WM_SIZE: SizeChanged(); return 0;
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
        Scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

void ImageView::SizeChanged() {
    RECT window{}, client{};
    ::GetWindowRect(Hwnd(), &window);
    ::GetClientRect(Hwnd(), &client);
    document_.SetControlSize(window.right - window.left, window.bottom - window.top, client.right, client.bottom);
}

void ImageView::UpdateScrollBars() {
    if (!Hwnd() || updatingScrollBars_) return;
    // Showing or hiding a scroll bar resizes the client area, which lays out again.
    updatingScrollBars_ = true;
    const ZoomLayoutResult& layout = document_.Layout();
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    SCROLLINFO info{sizeof(info), SIF_ALL | SIF_DISABLENOSCROLL};
    info.nMin = 0;
    info.nMax = layout.maxScrollX > 0 ? layout.rect.width - 1 : 0;
    info.nPage = layout.maxScrollX > 0 ? static_cast<UINT>(client.right) : 0;
    info.nPos = document_.ScrollX();
    ::ShowScrollBar(Hwnd(), SB_HORZ, layout.maxScrollX > 0);
    ::SetScrollInfo(Hwnd(), SB_HORZ, &info, TRUE);
    info.nMax = layout.maxScrollY > 0 ? layout.rect.height - 1 : 0;
    info.nPage = layout.maxScrollY > 0 ? static_cast<UINT>(client.bottom) : 0;
    info.nPos = document_.ScrollY();
    ::ShowScrollBar(Hwnd(), SB_VERT, layout.maxScrollY > 0);
    ::SetScrollInfo(Hwnd(), SB_VERT, &info, TRUE);
    updatingScrollBars_ = false;
}

void ImageView::Scroll(int bar, int request) {
    SCROLLINFO info{sizeof(info), SIF_ALL};
    ::GetScrollInfo(Hwnd(), bar, &info);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= kScrollStep; break;
    case SB_LINEDOWN: position += kScrollStep; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ) document_.SetScrollPosition(position, document_.ScrollY());
    else document_.SetScrollPosition(document_.ScrollX(), position);
}

void ImageView::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const DisplayRect& r = document_.Layout().rect;
    RECT image{r.left, r.top, r.left + r.width, r.top + r.height};
    RECT visible{};
    const imaging::Bitmap* bitmap = document_.HoldsImage() ? document_.Bitmap() : nullptr;
    if (bitmap && ::IntersectRect(&visible, &image, &ps.rcPaint)) {
        imaging::ScaledView view = imaging::RenderScaledRegion(
            *bitmap, r.width, r.height, visible.left - r.left, visible.top - r.top, visible.right - visible.left,
            visible.bottom - visible.top, document_.SmoothScaling());
        BITMAPINFO info = win::TopDownDib(view.width, view.height, 32);
        ::SetDIBitsToDevice(dc, visible.left, visible.top, static_cast<DWORD>(view.width),
                            static_cast<DWORD>(view.height), 0, 0, 0, static_cast<UINT>(view.height),
                            view.pixels.data(), &info, DIB_RGB_COLORS);
        ::ExcludeClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
    }
    // Silver around the image, or the system's window colour in high contrast.
    ::FillRect(dc, &ps.rcPaint, Theme().ImageMargin());
    ::EndPaint(Hwnd(), &ps);
}

} // namespace korvan::win
