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

SaveChoice SaveCommands::Ask(bool onFirstType) {
    SaveDialogStart start = automatic_.DialogStart(onFirstType);
    start.heldBitsPerPixel = image_.HeldBitsPerPixel();
    SaveChoice choice = dialog_.Run(start);
    automatic_.Take(choice);
    return choice;
}

void SaveCommands::Write(const SaveChoice& choice) {
    if (!choice.path || choice.path->empty()) return;
    const SaveSettings& s = choice.format.settings;
    image_.Save(*choice.path, s.format, s.bitsPerPixel, s.quality, 0);
}

void SaveCommands::SaveImage() {
    automatic_.ForgetName();
    if (!image_.HoldsImage()) return;
    WithFrameKeysOff([&] { Write(Ask(true)); });
}

void SaveCommands::ChooseAutomaticSaving(bool onFirstType) { (void)Ask(onFirstType); }

} // namespace korvan
