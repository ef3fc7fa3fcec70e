#include "capture/win32/CaptureOverlay.h"

#include "imaging/Status.h"
#include "platform/win32/MonitorWorkArea.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>

namespace korvan::win {

namespace {

Rect Inflate(const Rect& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

Rect BoxOf(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

int PenStyleOf(LineStyle style) {
    switch (style) {
    case LineStyle::Dash: return PS_DASH;
    case LineStyle::Dot: return PS_DOT;
    case LineStyle::DashDot: return PS_DASHDOT;
    case LineStyle::DashDotDot: return PS_DASHDOTDOT;
    case LineStyle::Solid: break;
    }
    return PS_SOLID;
}

COLORREF ColourRef(imaging::Rgb c) { return RGB(c.r, c.g, c.b); }

bool IsArrow(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

} // namespace

CaptureOverlay::CaptureOverlay(const ScreenPixels& frozen, const Rect& screen, std::vector<Rect> monitors, Mode mode,
                               const CaptureSettings& settings, std::function<int()> awaitPicture, CaptureProbe& probe)
    : frozen_(frozen),
      monitors_(std::move(monitors)),
      mode_(mode),
      settings_(settings),
      awaitPicture_(std::move(awaitPicture)),
      probe_(probe),
      screen_(screen) {
    shape_.type = settings_.shape;
    shape_.cornerWidth = settings_.cornerWidth;
    shape_.cornerHeight = settings_.cornerHeight;
}

CaptureOverlay::Result CaptureOverlay::Run() {
    result_ = {};
    result_.status = imaging::kCaptureHookFailed;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    pointer_ = VirtualScreen(screen_).Clamp({cursor.x, cursor.y});
    if (mode_ == Mode::Object) {
        SnapshotWindows();
        hovered_ = ObjectAt(pointer_);
    }

    RegisterClassOnce(kCaptureOverlayClass, CS_DBLCLKS, nullptr, nullptr);
    if (!CreateWindowOf(kCaptureOverlayClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, L"", screen_.left, screen_.top,
                        screen_.Width(), screen_.Height()))
        return result_;
    monitorDpis_ = MonitorsWithDpi();

    if (awaitPicture_) {
        int grabbed = awaitPicture_();
        if (grabbed != imaging::kSuccess) {
            result_.status = grabbed;
            return result_;
        }
    }
    lastDecorations_ = Decorations();
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::UpdateWindow(Hwnd());
    ::SetForegroundWindow(Hwnd());
    ::SetFocus(Hwnd());
    SetOverlayCursor();
    probe_.timings.ready = CaptureProbe::Clock::now();
    if (probe_.onReady) probe_.onReady(Hwnd());

    while (!done_) {
        MSG message;
        BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // the program ends: give the quit back
            Cancel();
            break;
        }
        if (got < 0) break;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
        if (!Hwnd() && !done_) Cancel();  // destroyed from outside
    }
    if (::GetCapture() == Hwnd()) ::ReleaseCapture();
    return result_;
}

LRESULT CaptureOverlay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool input = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_KEYDOWN;
    if (input) probe_.inputEvents.fetch_add(1);
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) probe_.pointerHandled.store(PackPoint(FromClient(lParam)));
    if (done_ && input) return 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetOverlayCursor();
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: OnPointer(FromClient(lParam)); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(FromClient(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(FromClient(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(FromClient(lParam)); return 0;
    case WM_RBUTTONDOWN: OnRightButton(); return 0;
    case WM_KEYDOWN: OnKey(wParam); return 0;
    case WM_SYSKEYDOWN:
        if (IsCancelKey(wParam)) Cancel();
        return 0;
    case WM_CLOSE: Cancel(); return 0;
    case WM_DPICHANGED: return 0;  // one window spans every monitor: keep its size in pixels
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    default: break;
    }
    return Default(message, wParam, lParam);
}

Point CaptureOverlay::FromClient(LPARAM lParam) const {
    return {GET_X_LPARAM(lParam) + screen_.left, GET_Y_LPARAM(lParam) + screen_.top};
}

int CaptureOverlay::Scaled(int designed) const { return ScaleForDpi(designed, PointerDpi()); }

int CaptureOverlay::PointerDpi() const { return DpiAt(pointer_.x, pointer_.y, monitorDpis_); }

// The text's font at the pointer monitor's DPI, made again when the pointer crosses onto a
// monitor with another one.
HGDIOBJ CaptureOverlay::Font() {
    int dpi = PointerDpi();
    if (!font_ || fontDpi_ != dpi) {
        NONCLIENTMETRICSW metrics{sizeof(metrics)};
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight = -::MulDiv(9, dpi, 72);
        font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
        fontDpi_ = dpi;
    }
    return font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT);
}

// ---- input ----------------------------------------------------------------------------

void CaptureOverlay::OnPointer(Point p) {
    if (p == pointer_) return;
    pointer_ = p;
    if (mode_ == Mode::Object) {
        Picked now = ObjectAt(p);
        if (now.window != hovered_.window || now.rect != hovered_.rect) hovered_ = now;
    } else if (drawing_) {
        if (IsDragShape(shape_.type)) {
            shape_.points.back() = p;
        } else if (shape_.type == AreaShape::Freehand && shape_.points.back() != p) {
            shape_.points.push_back(p);
        }
    }
    Refresh();
}

void CaptureOverlay::OnButtonDown(Point p) {
    pointer_ = p;
    if (mode_ == Mode::Object) {
        hovered_ = ObjectAt(p);
        Finish();
        return;
    }
    if (shape_.type == AreaShape::Polygon) {
        if (!drawing_) {
            shape_.points = {p};
            drawing_ = true;
        } else if (shape_.points.back() != p) {
            shape_.points.push_back(p);
        }
    } else {
        shape_.points = IsDragShape(shape_.type) ? std::vector<Point>{p, p} : std::vector<Point>{p};
        drawing_ = true;
        ::SetCapture(Hwnd());
    }
    Refresh();
}

void CaptureOverlay::OnButtonUp(Point p) {
    if (mode_ != Mode::Area || !drawing_ || shape_.type == AreaShape::Polygon) return;
    pointer_ = p;
    if (IsDragShape(shape_.type)) {
        shape_.points.back() = p;
    } else if (shape_.points.back() != p) {
        shape_.points.push_back(p);
    }
    Finish();
}

void CaptureOverlay::OnDoubleClick(Point p) {
    if (mode_ == Mode::Area && shape_.type == AreaShape::Polygon && drawing_) {
        Finish();  // the first click of the pair placed the last corner
        return;
    }
    OnButtonDown(p);
}

void CaptureOverlay::OnRightButton() {
    if (mode_ == Mode::Object || !drawing_) {
        Cancel();
        return;
    }
    Restart();  // drop the shape drawn so far and start over
}

void CaptureOverlay::OnKey(WPARAM key) {
    if (IsCancelKey(key)) {
        Cancel();
        return;
    }
    if (!settings_.keyboard) return;
    if (IsArrow(key)) {
        MovePointer(key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0, key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0);
    } else if (key == VK_RETURN || key == VK_SPACE) {
        if (mode_ == Mode::Object) {
            if (key == VK_RETURN) Finish();
        } else {
            KeyButton(key == VK_RETURN);
        }
    }
}

bool CaptureOverlay::IsCancelKey(WPARAM key) const {
    return settings_.cancelKey != 0 && key == static_cast<WPARAM>(settings_.cancelKey);
}

void CaptureOverlay::MovePointer(int dx, int dy) {
    Point next = VirtualScreen(screen_).Clamp({pointer_.x + dx, pointer_.y + dy});
    ::SetCursorPos(next.x, next.y);
    OnPointer(next);
}

// Enter and Space act as the mouse button: the first press starts a drag or a freehand
// line, the second ends it. For a polygon Space places a corner and Enter closes it.
void CaptureOverlay::KeyButton(bool enter) {
    if (shape_.type == AreaShape::Polygon) {
        if (enter && drawing_) {
            Finish();
        } else {
            OnButtonDown(pointer_);
        }
        return;
    }
    if (!drawing_) {
        OnButtonDown(pointer_);
    } else {
        OnButtonUp(pointer_);
    }
}

void CaptureOverlay::Finish() {
    done_ = true;
    result_.status = imaging::kSuccess;
    result_.finalInput = std::chrono::steady_clock::now();
    result_.shape = shape_;
    result_.pointer = pointer_;
    if (mode_ == Mode::Object) {
        result_.object = hovered_.window;
        result_.objectRect = VirtualScreen(screen_).Clip(hovered_.rect);
    }
}

void CaptureOverlay::Cancel() {
    done_ = true;
    result_.status = imaging::kCaptureCancelled;
}

void CaptureOverlay::Restart() {
    drawing_ = false;
    shape_.points.clear();
    if (::GetCapture() == Hwnd()) ::ReleaseCapture();
    RefreshAll();
}

// ---- objects under the pointer ---------------------------------------------------------

// The top-level windows in their order on the screen, taken before the overlay covers
// them; the controls inside are found live, since the overlay does not hide them.
void CaptureOverlay::SnapshotWindows() {
    topLevels_.clear();
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& list = *reinterpret_cast<std::vector<std::pair<HWND, Rect>>*>(data);
            if (!::IsWindowVisible(window) || ::IsIconic(window) || IsCloaked(window)) return TRUE;
            if (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) return TRUE;
            Rect bounds = VisibleWindowBounds(window);
            if (!bounds.Empty()) list.emplace_back(window, bounds);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&topLevels_));
}

CaptureOverlay::Picked CaptureOverlay::ObjectAt(Point p) const {
    for (const auto& [window, bounds] : topLevels_) {
        if (window == Hwnd() || !bounds.Contains(p)) continue;
        Picked picked{window, bounds};
        HWND parent = window;
        for (;;) {
            POINT client{p.x, p.y};
            ::ScreenToClient(parent, &client);
            HWND child = ::ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!child || child == parent) break;
            RECT rect{};
            ::GetWindowRect(child, &rect);
            picked = {child, ToRect(rect)};
            parent = child;
        }
        return picked;
    }
    return {::GetDesktopWindow(), screen_};
}

// ---- painting ---------------------------------------------------------------------------

void CaptureOverlay::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    const RECT& clip = ps.rcPaint;
    int width = clip.right - clip.left, height = clip.bottom - clip.top;
    if (width > 0 && height > 0 && !painted_) {
        // The first picture goes straight to the screen: nothing shows there yet that
        // could flicker, and a full-screen buffer would cost as much as the grab.
        ::BitBlt(dc, clip.left, clip.top, width, height, frozen_.Dc(), clip.left, clip.top, SRCCOPY);
        PaintDecorations(dc);
        painted_ = true;
    } else if (width > 0 && height > 0) {
        // Drawn off screen first so the outline never flickers; the frozen picture under
        // the changed part only, since the rest of the window already shows it.
        MemoryDc buffer(::CreateCompatibleDC(dc));
        GdiObject bitmap(::CreateCompatibleBitmap(dc, width, height));
        if (buffer && bitmap) {
            SelectionRestorer select(buffer.get(), bitmap.get());
            ::SetViewportOrgEx(buffer.get(), -clip.left, -clip.top, nullptr);
            ::BitBlt(buffer.get(), clip.left, clip.top, width, height, frozen_.Dc(), clip.left, clip.top, SRCCOPY);
            PaintDecorations(buffer.get());
            ::SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
            ::BitBlt(dc, clip.left, clip.top, width, height, buffer.get(), 0, 0, SRCCOPY);
        } else {
            ::BitBlt(dc, clip.left, clip.top, width, height, frozen_.Dc(), clip.left, clip.top, SRCCOPY);
            PaintDecorations(dc);
        }
    }
    ::EndPaint(Hwnd(), &ps);
}

void CaptureOverlay::PaintDecorations(HDC dc) {
    ::SelectObject(dc, Font());
    if (mode_ == Mode::Object) {
        DrawObjectFrame(dc);
        DrawInfoBlock(dc);
        return;
    }
    DrawOutline(dc);
    DrawCrossLines(dc);
    DrawInfoBlock(dc);
}

void CaptureOverlay::DrawOutline(HDC dc) {
    if (!drawing_ || shape_.points.empty()) return;
    GdiObject pen(::CreatePen(PenStyleOf(settings_.lineStyle), 1, ColourRef(settings_.lineColour)));
    SelectionRestorer selectPen(dc, pen.get());
    SelectionRestorer selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::SetBkMode(dc, TRANSPARENT);
    auto client = [&](Point p) { return ToClient(p); };
    if (IsDragShape(shape_.type)) {
        Rect box = ShapeBounds(shape_);
        if (box.Empty()) return;
        RECT r = ClientRect(box);
        switch (shape_.type) {
        case AreaShape::Rectangle: ::Rectangle(dc, r.left, r.top, r.right, r.bottom); break;
        case AreaShape::RoundRectangle:
            ::RoundRect(dc, r.left, r.top, r.right, r.bottom, std::min(shape_.cornerWidth, box.Width()),
                        std::min(shape_.cornerHeight, box.Height()));
            break;
        case AreaShape::Ellipse: ::Ellipse(dc, r.left, r.top, r.right, r.bottom); break;
        default: {
            std::vector<POINT> corners;
            for (Point p : ShapeCorners(shape_)) corners.push_back(client(p));
            ::Polygon(dc, corners.data(), static_cast<int>(corners.size()));
            break;
        }
        }
        return;
    }
    std::vector<POINT> path;
    for (Point p : shape_.points) path.push_back(client(p));
    if (shape_.type == AreaShape::Polygon) path.push_back(client(pointer_));  // the side being placed
    if (path.size() == 1) path.push_back(path.front());
    ::Polyline(dc, path.data(), static_cast<int>(path.size()));
    if (shape_.type == AreaShape::Polygon && shape_.points.size() >= 2) {
        // The side that will close the polygon, dotted until it is closed.
        GdiObject dotted(::CreatePen(PS_DOT, 1, ColourRef(settings_.lineColour)));
        SelectionRestorer selectDotted(dc, dotted.get());
        POINT closing[2] = {client(pointer_), client(shape_.points.front())};
        ::Polyline(dc, closing, 2);
    }
}

void CaptureOverlay::DrawCrossLines(HDC dc) {
    if (!ShowsCrossLines()) return;
    POINT p = ToClient(pointer_);
    GdiObject brush(::CreateSolidBrush(ColourRef(settings_.lineColour)));
    RECT horizontal{0, p.y, screen_.Width(), p.y + 1}, vertical{p.x, 0, p.x + 1, screen_.Height()};
    ::FillRect(dc, &horizontal, static_cast<HBRUSH>(brush.get()));
    ::FillRect(dc, &vertical, static_cast<HBRUSH>(brush.get()));
}

std::vector<std::wstring> CaptureOverlay::InfoLines() const {
    std::vector<std::wstring> lines;
    wchar_t text[64];
    if (mode_ == Mode::Object) {
        Rect r = VirtualScreen(screen_).Clip(hovered_.rect);
        std::swprintf(text, 64, L"%d x %d", r.Width(), r.Height());
        lines.emplace_back(text);
        return lines;
    }
    if (settings_.showPosition) {
        std::swprintf(text, 64, L"%d, %d", pointer_.x, pointer_.y);
        lines.emplace_back(text);
    }
    if (settings_.showSize && drawing_) {
        Rect box = ShapeBoxWithPointer();
        std::swprintf(text, 64, L"%d x %d", box.Width(), box.Height());
        lines.emplace_back(text);
    }
    return lines;
}

// The shape's box as it would be if the pointer placed the next point now.
Rect CaptureOverlay::ShapeBoxWithPointer() const {
    Shape shape = shape_;
    if (shape.type == AreaShape::Polygon) shape.points.push_back(pointer_);
    return ShapeBounds(shape);
}

// The magnifier and, under it, the pointer position and area size, beside the pointer
// on the pointer's monitor.
Rect CaptureOverlay::InfoBlockRect(Rect* magnifier, Rect* text) {
    int zoom = MagnifierZoom();
    int side = 0;
    if (zoom >= 2) {
        int source = (Scaled(128) / zoom) | 1;  // odd, so one pixel sits in the middle
        side = source * zoom;
    }
    std::vector<std::wstring> lines = InfoLines();
    int textWidth = 0, textHeight = 0;
    if (!lines.empty()) {
        HDC dc = ::GetDC(Hwnd());
        HGDIOBJ old = ::SelectObject(dc, Font());
        for (const std::wstring& line : lines) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            textWidth = std::max(textWidth, static_cast<int>(size.cx));
            textHeight += size.cy;
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(Hwnd(), dc);
        textWidth += Scaled(8);
        textHeight += Scaled(4);
    }
    int width = std::max(side, textWidth), height = side + textHeight;
    if (width == 0 || height == 0) return {};
    Rect monitor = VirtualScreen(screen_).MonitorAt(pointer_, monitors_);
    // Away from the drag's start, or from the last corner placed.
    Point anchor = pointer_;
    if (drawing_ && !shape_.points.empty())
        anchor = shape_.type == AreaShape::Polygon ? shape_.points.back() : shape_.points.front();
    Rect block = PlaceBeside(pointer_, width, height, Scaled(20), monitor, anchor);
    if (magnifier) *magnifier = side ? Rect{block.left, block.top, block.left + side, block.top + side} : Rect{};
    if (text) *text = textHeight ? Rect{block.left, block.top + side, block.left + textWidth, block.bottom} : Rect{};
    return block;
}

void CaptureOverlay::DrawInfoBlock(HDC dc) {
    Rect magnifier, text;
    InfoBlockRect(&magnifier, &text);
    if (!magnifier.Empty()) DrawMagnifier(dc, magnifier);
    if (!text.Empty()) DrawTextBox(dc, text, InfoLines());
}

// The screen around the pointer, enlarged, with the pixel under the pointer framed.
void CaptureOverlay::DrawMagnifier(HDC dc, const Rect& magnifier) {
    int zoom = MagnifierZoom();
    int source = magnifier.Width() / zoom;
    Point centre = VirtualScreen(screen_).ToGrab(pointer_);
    Rect wanted{centre.x - source / 2, centre.y - source / 2, centre.x - source / 2 + source,
                centre.y - source / 2 + source};
    Rect grab{0, 0, screen_.Width(), screen_.Height()};
    Rect available = Intersect(wanted, grab);
    RECT box = ClientRect(magnifier);
    ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (!available.Empty()) {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, box.left + (available.left - wanted.left) * zoom,
                     box.top + (available.top - wanted.top) * zoom, available.Width() * zoom,
                     available.Height() * zoom, frozen_.Dc(), available.left, available.top, available.Width(),
                     available.Height(), SRCCOPY);
    }
    // The pixel under the pointer, framed, and the magnifier's edge.
    int middle = (source / 2) * zoom;
    RECT pixel{box.left + middle - 1, box.top + middle - 1, box.left + middle + zoom + 1,
               box.top + middle + zoom + 1};
    GdiObject accent(::CreateSolidBrush(ColourRef(settings_.lineColour)));
    ::FrameRect(dc, &pixel, static_cast<HBRUSH>(accent.get()));
    ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void CaptureOverlay::DrawTextBox(HDC dc, const Rect& box, const std::vector<std::wstring>& lines) {
    RECT r = ClientRect(box);
    if (settings_.opaqueText) {
        GdiObject brush(::CreateSolidBrush(ColourRef(settings_.textBackground)));
        ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColourRef(settings_.textColour));
    int y = r.top + Scaled(2);
    for (const std::wstring& line : lines) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        ::TextOutW(dc, r.left + Scaled(4), y, line.c_str(), static_cast<int>(line.size()));
        y += size.cy;
    }
}

void CaptureOverlay::DrawObjectFrame(HDC dc) {
    Rect r = VirtualScreen(screen_).Clip(hovered_.rect);
    int border = std::min({settings_.objectBorder, r.Width() / 2 + 1, r.Height() / 2 + 1});
    if (r.Empty() || border <= 0) return;
    RECT c = ClientRect(r);
    const RECT strips[] = {{c.left, c.top, c.right, c.top + border},
                           {c.left, c.bottom - border, c.right, c.bottom},
                           {c.left, c.top + border, c.left + border, c.bottom - border},
                           {c.right - border, c.top + border, c.right, c.bottom - border}};
    GdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_HIGHLIGHT)));
    for (const RECT& strip : strips)
        if (strip.right > strip.left && strip.bottom > strip.top) ::FillRect(dc, &strip, static_cast<HBRUSH>(brush.get()));
}

std::vector<Rect> CaptureOverlay::OutlineRects() const {
    if (mode_ == Mode::Object) {
        Rect r = VirtualScreen(screen_).Clip(hovered_.rect);
        if (r.Empty()) return {};
        int b = std::max(settings_.objectBorder, 1) + 1;
        return {{r.left - 1, r.top - 1, r.right + 1, r.top + b}, {r.left - 1, r.bottom - b, r.right + 1, r.bottom + 1},
                {r.left - 1, r.top - 1, r.left + b, r.bottom + 1}, {r.right - b, r.top - 1, r.right + 1, r.bottom + 1}};
    }
    if (!drawing_ || shape_.points.empty()) return {};
    if (shape_.type == AreaShape::Rectangle || shape_.type == AreaShape::RoundRectangle) {
        Rect r = ShapeBounds(shape_);
        int b = 2;
        if (shape_.type == AreaShape::RoundRectangle) b += std::max(shape_.cornerWidth, shape_.cornerHeight) / 2;
        return {{r.left - 2, r.top - 2, r.right + 2, r.top + b}, {r.left - 2, r.bottom - b, r.right + 2, r.bottom + 2},
                {r.left - 2, r.top - 2, r.left + b, r.bottom + 2}, {r.right - b, r.top - 2, r.right + 2, r.bottom + 2}};
    }
    if (IsDragShape(shape_.type)) return {Inflate(ShapeBounds(shape_), 2)};
    // Polygon and freehand: only the newest side and the one to the pointer change.
    std::vector<Rect> rects;
    const auto& points = shape_.points;
    if (points.size() >= 2) rects.push_back(Inflate(BoxOf(points[points.size() - 2], points.back()), 2));
    rects.push_back(Inflate(BoxOf(points.back(), shape_.type == AreaShape::Polygon ? pointer_ : points.back()), 2));
    if (shape_.type == AreaShape::Polygon && points.size() >= 2) rects.push_back(Inflate(BoxOf(points.front(), pointer_), 2));
    return rects;
}

std::vector<Rect> CaptureOverlay::Decorations() {
    std::vector<Rect> rects = OutlineRects();
    if (ShowsCrossLines()) {
        rects.push_back({screen_.left, pointer_.y, screen_.right, pointer_.y + 1});
        rects.push_back({pointer_.x, screen_.top, pointer_.x + 1, screen_.bottom});
    }
    if (Rect block = InfoBlockRect(nullptr, nullptr); !block.Empty()) rects.push_back(Inflate(block, 1));
    return rects;
}

void CaptureOverlay::Refresh() {
    if (!Hwnd()) return;
    std::vector<Rect> now = Decorations();
    for (const Rect& r : lastDecorations_) {
        RECT c = ClientRect(r);
        ::InvalidateRect(Hwnd(), &c, FALSE);
    }
    for (const Rect& r : now) {
        RECT c = ClientRect(r);
        ::InvalidateRect(Hwnd(), &c, FALSE);
    }
    lastDecorations_ = std::move(now);
}

void CaptureOverlay::RefreshAll() {
    if (!Hwnd()) return;
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    lastDecorations_ = Decorations();
}

// Over an area the cross lines stand for the pointer; objects are picked with the arrow.
void CaptureOverlay::SetOverlayCursor() {
    HCURSOR cursor = ::LoadCursorW(nullptr, mode_ == Mode::Object ? IDC_ARROW : IDC_CROSS);
    ::SetCursor(ShowsCrossLines() ? nullptr : cursor);
}

} // namespace korvan::win
