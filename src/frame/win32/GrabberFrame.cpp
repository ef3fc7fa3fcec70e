#include "frame/win32/GrabberFrame.h"

namespace korvan::win {
namespace {

constexpr wchar_t kFrameClass[] = L"TForm2";
constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr DWORD kCaptionBitsMask = 0xFF3FFFFF;  // clears WS_BORDER and WS_DLGFRAME

} // namespace

ColourPanel::ColourPanel(HWND parent, std::function<void(WPARAM)> onMouseDown) : onMouseDown_(std::move(onMouseDown)) {
    RegisterClassOnce(kPanelClass, 0, nullptr, nullptr);
    CreateWindowOf(kPanelClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, L"", 0, 0, 0, 0, parent);
}

LRESULT ColourPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, Theme().Ring());
        return 1;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (onMouseDown_) onMouseDown_(wParam);
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

GrabberFrame::GrabberFrame(HWND mainWindow, IHotKeySystem& hotKeys, HotKeyConflicts* conflicts)
    : hotKeys_(hotKeys), conflicts_(conflicts) {
    RegisterClassOnce(kFrameClass, 0, nullptr, nullptr);
    CreateWindowOf(kFrameClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_CAPTION | WS_THICKFRAME, L"", 533,
                   152, 266, 137);
    CreateContents();
    placement_ = std::make_unique<PlacementBinding>(
        Hwnd(), mainWindow,
        PlacementSetup{PlacementOption::State | PlacementOption::Position, {BorderKind::SizeableToolWindow}});
    // The frame keys move the hidden frame from where the user left it last time.
    placement_->PlaceHidden();
}

GrabberFrame::~GrabberFrame() {
    if (placement_) placement_->OnDestroy();
    keys_.reset();
}

void GrabberFrame::OnShow() { placement_->OnShow(); }
void GrabberFrame::OnClose() { placement_->OnCloseQuery(true); }

void GrabberFrame::CreateContents() {
    dragPanel_ = std::make_unique<ColourPanel>(Hwnd(), [this](WPARAM buttons) { DragPanelPressed(buttons); });
    insidePanel_ = std::make_unique<ColourPanel>(dragPanel_->Hwnd());
    keys_ = std::make_unique<FrameKeys>(hotKeys_, *this, conflicts_);
    RemoveCaption();
    // The client area becomes as tall as the window was, so the window grows by its frame.
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    RECT window = WindowRect();
    int outerHeight = window.bottom - window.top;
    MoveTo(window.left, window.top, window.right - window.left, outerHeight + (outerHeight - client.bottom));
    RingStep();
}

void GrabberFrame::RemoveCaption() {
    LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, style & static_cast<LONG_PTR>(kCaptionBitsMask));
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT GrabberFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: RingStep(); return 0;
    case WM_NCPAINT: PaintFrame(); return 0;
    case WM_NCACTIVATE: PaintFrame(); return TRUE;
    case WM_CLOSE: return HandleClose();
    default: return Default(message, wParam, lParam);
    }
}

// The window region becomes a ring of the ring width; InsidePanel keeps its margin inside
// the client area, which lies in the hole.
void GrabberFrame::RingStep() {
    if (!dragPanel_ || !insidePanel_) return;
    UINT dpi = DpiOf(Hwnd());
    int ring = Scale(kRingWidth, dpi), margin = Scale(kPanelMargin, dpi);
    RECT window = WindowRect();
    int width = window.right - window.left, height = window.bottom - window.top;
    GdiObject outer(::CreateRectRgn(0, 0, width, height));
    GdiObject inner(::CreateRectRgn(ring, ring, width - ring, height - ring));
    ::CombineRgn(static_cast<HRGN>(inner.get()), static_cast<HRGN>(outer.get()), static_cast<HRGN>(inner.get()),
                 RGN_XOR);
    if (::SetWindowRgn(Hwnd(), static_cast<HRGN>(inner.get()), TRUE)) inner.release();  // the system owns it now

    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    ::MoveWindow(dragPanel_->Hwnd(), 0, 0, client.right, client.bottom, TRUE);
    ::MoveWindow(insidePanel_->Hwnd(), margin, margin, client.right - 2 * margin, client.bottom - 2 * margin, TRUE);
}

// The sizing border is part of the ring: it is painted in the ring's colour too.
void GrabberFrame::PaintFrame() {
    HDC dc = ::GetWindowDC(Hwnd());
    if (!dc) return;
    RECT window = WindowRect();
    RECT whole{0, 0, window.right - window.left, window.bottom - window.top};
    ::FillRect(dc, &whole, Theme().Ring());
    ::ReleaseDC(Hwnd(), dc);
}

void GrabberFrame::DragPanelPressed(WPARAM buttons) {
    // Only the left button drags: the system's own move loop, as if on a caption.
    if (!(buttons & MK_LBUTTON)) return;
    ::ReleaseCapture();
    ::SendMessageW(Hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

ScreenRect GrabberFrame::InsideRect() const {
    RECT panel{};
    ::GetWindowRect(insidePanel_->Hwnd(), &panel);
    return {panel.left, panel.top, panel.right, panel.bottom};
}

int GrabberFrame::InsideWidth() const { return InsideRect().Width(); }
int GrabberFrame::InsideHeight() const { return InsideRect().Height(); }

RECT GrabberFrame::WindowRect() const {
    RECT rect{};
    ::GetWindowRect(Hwnd(), &rect);
    return rect;
}

void GrabberFrame::MoveTo(int left, int top, int width, int height) {
    ::SetWindowPos(Hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // A hidden frame moved by its keys shows at the new place; the place is stored at
    // that show or at the end, not at every key press.
    if (placement_ && !Visible()) placement_->Store().HiddenWindowMoved();
}

int GrabberFrame::Left() const { return WindowRect().left; }
int GrabberFrame::Top() const { return WindowRect().top; }
int GrabberFrame::Width() const { return WindowRect().right - WindowRect().left; }
int GrabberFrame::Height() const { return WindowRect().bottom - WindowRect().top; }
void GrabberFrame::SetLeft(int value) { MoveTo(value, Top(), Width(), Height()); }
void GrabberFrame::SetTop(int value) { MoveTo(Left(), value, Width(), Height()); }
void GrabberFrame::SetWidth(int value) { MoveTo(Left(), Top(), value, Height()); }
void GrabberFrame::SetHeight(int value) { MoveTo(Left(), Top(), Width(), value); }

} // namespace korvan::win
