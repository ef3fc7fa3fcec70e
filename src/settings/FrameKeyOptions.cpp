#include "settings/FrameKeyOptions.h"

namespace korvan {

void FrameKeyOptions::Load(const std::function<void()>& okStep) {
    if (!store_.Exists()) {
        Fields = FrameKeySettings{};  // what a first run stores
        okStep();
    }
    if (std::string error = store_.Read(Fields); !error.empty()) {
        showError_(error);
        return;
    }
    if (Fields.EnableFrameKeys) {
        keys_.SwitchOn();
        keys_.SetToggledOn(true);
    } else {
        keys_.SwitchOff();
        keys_.SetToggledOn(false);
    }
    store_.OpenHotkeyKey();
    keys_.Assign(Fields.HotKey);
}

void FrameKeyOptions::SaveAndApply() {
    store_.Write(Fields);
    keys_.Assign(Fields.HotKey);
    if (Fields.EnableFrameKeys) keys_.SwitchOn();
    else keys_.SwitchOff();
}

} // namespace korvan
