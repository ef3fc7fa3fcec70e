#pragma once
// The info window.
#include "platform/win32/Form.h"

namespace korvan::win {

class TAboutfrm final : public Form<TAboutfrm> {
public:
    TAboutfrm();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    GdiObject background_;
};

} // namespace korvan::win
