#pragma once
// The help window.
#include "platform/win32/Form.h"

namespace korvan::win {

class Thelpfrm final : public Form<Thelpfrm> {
public:
    Thelpfrm();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace korvan::win
