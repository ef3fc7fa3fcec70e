#include "saving/SaveCommands.h"

namespace korvan {

template <typename Body> void SaveCommands::WithFrameKeysOff(Body body) {
    keys_.SwitchOff();
    try {
        body();
    } catch (...) {
        if (keys_.EnableHotkeys()) keys_.SwitchOn();
        throw;
    }
    if (keys_.EnableHotkeys()) keys_.SwitchOn();
}

void SaveCommands::ToolButton1Click() {
    // Emptied first: a cancelled dialog, or no image, stops automatic saving until a name
    // is chosen again.
    extSave_.FileName.clear();
    if (!image_.HoldsImage()) return;
    extSave_.FilterIndex = 0;
    WithFrameKeysOff([&] {
        bool confirmed = dialog_.Execute();
        if (confirmed && !extSave_.FileName.empty())
            image_.Save(extSave_.FileName, settings_.SaveFormat, settings_.SaveBits, settings_.SaveQuality, 0);
    });
}

void SaveCommands::ChooseAutomaticSaving(bool resetFileType) {
    if (resetFileType) extSave_.FilterIndex = 0;
    (void)dialog_.Execute();  // a cancelled dialog still sets the type and its settings
}

} // namespace korvan
