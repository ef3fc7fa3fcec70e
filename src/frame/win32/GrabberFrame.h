#pragma once
// The grabber frame: an always-on-top, caption-less, sizeable window of which only an
// 8-pixel ring is drawn. The inner panel Panel2 sits in the hole and marks the capture
// rectangle; the frame is dragged by its ring and moved by the frame keys.
#include "capture/CapturePorts.h"
#include "frame/FrameKeys.h"
#include "platform/win32/Form.h"
#include "platform/win32/PlacementBinding.h"

#include <functional>
#include <memory>

namespace korvan::win {

// A plain child panel in one colour; reports mouse presses to its owner.
class TPanel final : public WindowBase<TPanel> {
public:
    TPanel(HWND parent, COLORREF colour, std::function<void(WPARAM buttons)> onMouseDown = {});
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    GdiObject brush_;
    std::function<void(WPARAM)> onMouseDown_;
};

class TForm2 final : public Form<TForm2>, public IFrameArea, public IFrameGeometry {
public:
    TForm2(HWND mainWindow, IHotKeySystem& hotKeys, HotKeyConflicts* conflicts);
    void FormShow();
    void FormClose();
    ~TForm2() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    FrameKeys& Keys() { return *keys_; }

    // IFrameArea: read from the panel's screen position at capture time.
    ScreenRect Panel2ScreenRect() const override;
    int Panel2Width() const override;
    int Panel2Height() const override;

    // IFrameGeometry: screen position and outer size.
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetLeft(int value) override;
    void SetTop(int value) override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    HWND Panel1() const { return panel1_->Hwnd(); }
    HWND Panel2() const { return panel2_->Hwnd(); }

    static constexpr int kRingWidth = 8;
    static constexpr int kPanelMargin = 5;

private:
    void FormCreate();
    void RemoveCaption();
    void RingStep();
    void PaintFrame();
    void Panel1MouseDown(WPARAM buttons);
    RECT WindowRect() const;
    void MoveTo(int left, int top, int width, int height);

    std::unique_ptr<TPanel> panel1_;
    std::unique_ptr<TPanel> panel2_;
    std::unique_ptr<FrameKeys> keys_;
    IHotKeySystem& hotKeys_;
    HotKeyConflicts* conflicts_;
    std::unique_ptr<PlacementBinding> placement_;
};

} // namespace korvan::win
