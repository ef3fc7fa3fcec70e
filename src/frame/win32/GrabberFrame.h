#pragma once
// The grabber frame: an always-on-top window whose inner panel marks the capture
// rectangle. Hidden at start.
#include "capture/CapturePorts.h"
#include "platform/win32/Form.h"

namespace korvan::win {

class TForm2 final : public Form<TForm2>, public IFrameArea {
public:
    TForm2();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    ScreenRect Panel2ScreenRect() const override;
    int Panel2Width() const override;
    int Panel2Height() const override;

    static constexpr int kPanelMargin = 5;

private:
    RECT Panel2ClientRect() const;
    GdiObject ring_;
};

} // namespace korvan::win
