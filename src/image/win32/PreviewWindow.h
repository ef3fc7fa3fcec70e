#pragma once
// The preview window: shows the last capture zoomed to fit, inside a 5-pixel band in
// the window colour. It holds the image document for the whole run, shown or not.
#include "image/ImageDocument.h"
#include "image/win32/ImageView.h"
#include "platform/win32/TopLevelWindow.h"
#include "platform/win32/PlacementBinding.h"

#include <functional>
#include <memory>

namespace korvan::win {

class PreviewWindow final : public TopLevelWindow<PreviewWindow> {
public:
    PreviewWindow(HWND mainWindow, imaging::IScreenGrabber& grabber, imaging::IClipboardWriter& clipboard);
    ~PreviewWindow() override;
    void OnShow();
    void OnClose();
    // Stores the placement as the window's destruction would, ahead of it.
    void StorePlacementAtEnd() { placement_->OnDestroy(); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    ImageDocument& Document() { return document_; }
    // The main window's zoom computation, asked on every resize.
    void SetZoomSource(std::function<int()> zoomFactor) { zoomFactor_ = std::move(zoomFactor); }
    // Where the main window stands (or stood before a capture moved it away): the preview
    // opens on that monitor.
    void SetMainWindowHome(std::function<ScreenRect()> home) { mainWindowHome_ = std::move(home); }

    static constexpr int kBorderWidth = 5;

private:
    void CreateContents(HWND mainWindow);
    void OnResize();

    ImageDocument document_;
    std::unique_ptr<ImageView> view_;
    std::function<int()> zoomFactor_;
    std::function<ScreenRect()> mainWindowHome_;
    std::unique_ptr<PlacementBinding> placement_;
};

} // namespace korvan::win
