#include "saving/SaveCommands.h"

namespace korvan {

template <typename Body> void SaveCommands::WithFrameKeysOff(Body body) {
    keys_.SwitchOff();
    try {
        body();
    } catch (...) {
        if (keys_.EnableFrameKeys()) keys_.SwitchOn();
        throw;
    }
    if (keys_.EnableFrameKeys()) keys_.SwitchOn();
}

void SaveCommands::SaveImage() {
    // Emptied first: a cancelled dialog, or no image, stops automatic saving until a name
    // is chosen again.
    saveDialog_.FileName.clear();
    if (!image_.HoldsImage()) return;
    saveDialog_.FilterIndex = 0;
    WithFrameKeysOff([&] {
        bool confirmed = dialog_.Execute();
        if (confirmed && !saveDialog_.FileName.empty())
            image_.Save(saveDialog_.FileName, settings_.SaveFormat, settings_.SaveBits, settings_.SaveQuality, 0);
    });
}

void SaveCommands::ChooseAutomaticSaving(bool resetFileType) {
    if (resetFileType) saveDialog_.FilterIndex = 0;
    (void)dialog_.Execute();  // a cancelled dialog still sets the type and its settings
}

} // namespace korvan
