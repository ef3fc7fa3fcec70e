#include "image/win32/PreviewForm.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TImage";

} // namespace

TImage::TImage(HWND mainWindow, sdk::IScreenGrabber& grabber, sdk::IClipboardWriter& clipboard)
    : shotImage_(grabber, clipboard) {
    FormCreate(mainWindow);
}

// Saved while the window still exists; the base class destroys it afterwards.
TImage::~TImage() {
    if (placement_) placement_->OnDestroy();
}

void TImage::FormShow() { placement_->OnShow(); }
void TImage::FormClose() { placement_->OnCloseQuery(true); }

void TImage::FormCreate(HWND mainWindow) {
    background_.reset(::CreateSolidBrush(kWindowColour));
    RegisterClassOnce(kClassName, 0, static_cast<HBRUSH>(background_.get()), ProgramIcon());
    CreateWindowOf(kClassName, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                   L"Preview", 489, 235, 306, 255);
    ::SetClassLongPtrW(Hwnd(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(background_.get()));
    placement_ = std::make_unique<PlacementBinding>(Hwnd(), mainWindow,
                                                    PlacementSetup{PlacementOption::fpPosition, {BorderKind::Sizeable}});
    shotImage_.SetPaintScaling(TPaintScaling::psResample);
    shotImage_.SetCenterImage(true);
    shotImage_.SetPaintZoomFactor(100);
    view_ = std::make_unique<ShotImageView>(Hwnd(), shotImage_);
    FormResize();
}

LRESULT TImage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: FormResize(); return 0;
    case WM_CLOSE: return HandleClose();
    default: return Default(message, wParam, lParam);
    }
}

void TImage::FormResize() {
    if (!view_) return;
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    int band = Scale(kBorderWidth, DpiOf(Hwnd()));
    view_->Place(band, band, std::max<int>(0, client.right - 2 * band), std::max<int>(0, client.bottom - 2 * band));
    if (!zoomFactor_) return;
    try {
        shotImage_.SetPaintZoomFactor(zoomFactor_());
    } catch (const std::exception&) {
        // The zoom stays as it was; the window keeps working.
    }
}

} // namespace korvan::win
