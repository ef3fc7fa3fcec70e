#pragma once
// The preview window: shows the last capture zoomed to fit, inside a 5-pixel band in
// the window colour. It holds the image document for the whole run, shown or not.
#include "image/ShotImage.h"
#include "image/win32/ShotImageView.h"
#include "platform/win32/Form.h"
#include "platform/win32/PlacementBinding.h"

#include <functional>
#include <memory>

namespace korvan::win {

class TImage final : public Form<TImage> {
public:
    TImage(HWND mainWindow, sdk::IScreenGrabber& grabber, sdk::IClipboardWriter& clipboard);
    ~TImage() override;
    void FormShow();
    void FormClose();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    TShotImage& ShotImage() { return shotImage_; }
    // The main window's zoom computation, asked on every resize.
    void SetZoomSource(std::function<int()> zoomFactor) { zoomFactor_ = std::move(zoomFactor); }

    static constexpr int kBorderWidth = 5;

private:
    void FormCreate(HWND mainWindow);
    void FormResize();

    TShotImage shotImage_;
    std::unique_ptr<ShotImageView> view_;
    std::function<int()> zoomFactor_;
    std::unique_ptr<PlacementBinding> placement_;
    GdiObject background_;
};

} // namespace korvan::win
