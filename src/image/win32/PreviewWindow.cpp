#include "image/win32/PreviewWindow.h"

#include "platform/win32/MonitorWorkArea.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TImage";

} // namespace

PreviewWindow::PreviewWindow(HWND mainWindow, imaging::IScreenGrabber& grabber, imaging::IClipboardWriter& clipboard)
    : document_(grabber, clipboard) {
    CreateContents(mainWindow);
}

// Saved while the window still exists; the base class destroys it afterwards.
PreviewWindow::~PreviewWindow() {
    if (placement_) placement_->OnDestroy();
}

void PreviewWindow::OnShow() {
    placement_->OnShow();
    if (mainWindowHome_ && !Visible()) MoveOntoMonitorAt(Hwnd(), mainWindowHome_());
}
void PreviewWindow::OnClose() { placement_->OnCloseQuery(true); }

void PreviewWindow::CreateContents(HWND mainWindow) {
    RegisterClassOnce(kClassName, 0, nullptr, ProgramIcon());
    CreateWindowOf(kClassName, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                   L"Preview", 489, 235, 306, 255);
    placement_ = std::make_unique<PlacementBinding>(Hwnd(), mainWindow,
                                                    PlacementSetup{PlacementOption::Position, {BorderKind::Sizeable}});
    document_.SetSmoothScaling(true);
    document_.SetCenterImage(true);
    document_.SetPaintZoomFactor(100);
    view_ = std::make_unique<ImageView>(Hwnd(), document_);
    OnResize();
}

LRESULT PreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: OnResize(); return 0;
    case WM_CLOSE: return HandleClose();
    case WM_ERASEBKGND: return EraseWithWindowColour(wParam);  // the band around the image
    default: return Default(message, wParam, lParam);
    }
}

void PreviewWindow::OnResize() {
    if (!view_) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    int band = Scale(kBorderWidth, DpiOf(Hwnd()));
    view_->Place(band, band, std::max<int>(0, client.right - 2 * band), std::max<int>(0, client.bottom - 2 * band));
    if (!zoomFactor_) return;
    try {
        document_.SetPaintZoomFactor(zoomFactor_());
    } catch (const std::exception&) {
        // The zoom stays as it was; the window keeps working.
    }
}

} // namespace korvan::win
