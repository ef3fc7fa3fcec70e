#pragma once
// The grabber frame: an always-on-top, caption-less, sizeable window of which only an
// 8-pixel ring is drawn. The inner panel InsidePanel sits in the hole and marks the capture
// rectangle; the frame is dragged by its ring and moved by the frame keys.
#include "capture/CapturePorts.h"
#include "frame/FrameKeys.h"
#include "platform/win32/TopLevelWindow.h"
#include "platform/win32/PlacementBinding.h"

#include <functional>
#include <memory>

namespace korvan::win {

// A plain child panel in the ring's colour; reports mouse presses to its owner.
class ColourPanel final : public WindowBase<ColourPanel> {
public:
    explicit ColourPanel(HWND parent, std::function<void(WPARAM buttons)> onMouseDown = {});
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::function<void(WPARAM)> onMouseDown_;
};

class GrabberFrame final : public TopLevelWindow<GrabberFrame>, public IFrameArea, public IFrameGeometry {
public:
    GrabberFrame(HWND mainWindow, IHotKeySystem& hotKeys, HotKeyConflicts* conflicts);
    void OnShow();
    void OnClose();
    // Stores the placement as the window's destruction would, ahead of it.
    void StorePlacementAtEnd() { placement_->OnDestroy(); }
    ~GrabberFrame() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    FrameKeys& Keys() { return *keys_; }

    // IFrameArea: read from the panel's screen position at capture time.
    ScreenRect InsideRect() const override;
    int InsideWidth() const override;
    int InsideHeight() const override;

    // IFrameGeometry: screen position and outer size.
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetLeft(int value) override;
    void SetTop(int value) override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    static constexpr int kRingWidth = 8;
    static constexpr int kPanelMargin = 5;

private:
    void CreateContents();
    void RemoveCaption();
    void RingStep();
    void PaintFrame();
    void DragPanelPressed(WPARAM buttons);
    RECT WindowRect() const;
    void MoveTo(int left, int top, int width, int height);

    std::unique_ptr<ColourPanel> dragPanel_;
    std::unique_ptr<ColourPanel> insidePanel_;
    std::unique_ptr<FrameKeys> keys_;
    IHotKeySystem& hotKeys_;
    HotKeyConflicts* conflicts_;
    std::unique_ptr<PlacementBinding> placement_;
};

} // namespace korvan::win
