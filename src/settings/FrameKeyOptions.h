#pragma once
// The frame-key part of the options: the fields the options dialog shows, loaded from
// the settings store when the dialog is created and applied by its OK step.
#include "frame/FrameKeys.h"
#include "settings/SettingsStore.h"

#include <functional>
#include <string>

namespace korvan {

class FrameKeyOptions {
public:
    FrameKeyOptions(IRegistry& registry, FrameKeys& keys, std::function<void(const std::string&)> showError)
        : store_(registry), keys_(keys), showError_(std::move(showError)) {}

    // At the dialog's creation: on a first run the defaults go through the dialog's OK
    // step (okStep), which stores them; then the stored values are read, the keys
    // switched and the toggle's state set by "enable", and the combinations assigned.
    // A load error is shown and ends the load; the program goes on.
    void Load(const std::function<void()>& okStep);

    // The OK step's store part: save, assign the sixteen combinations, switch the keys
    // by EnableFrameKeys (the toggle's state stays as it is).
    void SaveAndApply();

    // Switching as the program's activation and the save dialog need it: off whatever
    // "Enable" says, on again only when it is checked.
    void SwitchOff() { keys_.SwitchOff(); }
    void SwitchOn() { keys_.SwitchOn(); }
    void SwitchOnIfEnabled() { if (Fields.EnableFrameKeys) keys_.SwitchOn(); }
    bool Enabled() const { return Fields.EnableFrameKeys; }

    FrameKeySettings Fields;

private:
    SettingsStore store_;
    FrameKeys& keys_;
    std::function<void(const std::string&)> showError_;
};

} // namespace korvan
