#pragma once
// The options dialog: holder of the live settings for the whole run.
#include "platform/win32/Form.h"
#include "settings/OptionsDefaults.h"

namespace korvan::win {

class Toptionfrm final : public Form<Toptionfrm> {
public:
    Toptionfrm();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    const IOptionsSettings& Settings() const { return settings_; }

private:
    OptionsDefaults settings_;
    GdiObject background_;
};

} // namespace korvan::win
