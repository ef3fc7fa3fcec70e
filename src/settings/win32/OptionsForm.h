#pragma once
// The options dialog: holder of the live settings for the whole run. Its creation loads
// the frame-key settings from the registry and switches the frame keys; its OK step
// stores and applies them.
#include "app/win32/Forms.h"
#include "platform/Registry.h"
#include "platform/win32/Form.h"
#include "settings/FrameKeyOptions.h"
#include "settings/OptionsDefaults.h"

namespace korvan::win {

class Toptionfrm final : public Form<Toptionfrm> {
public:
    Toptionfrm(Forms& forms, IRegistry& registry);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    const IOptionsSettings& Settings() const { return settings_; }
    FrameKeyOptions& FrameKeySettings() { return frameKeys_; }
    bool EnableHotkeys() const { return frameKeys_.Fields.EnableHotkeys; }

    // The OK step (also run by the Default button, and once by a first run's load).
    void Button1Click();

    void FormShow();
    void FormClose();

private:
    void FormCreate();

    Forms& forms_;
    OptionsDefaults settings_;
    FrameKeyOptions frameKeys_;
    bool keepOpen_ = false;
    GdiObject background_;
};

} // namespace korvan::win
