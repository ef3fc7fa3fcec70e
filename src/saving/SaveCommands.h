#pragma once
// Saving by hand: the save button asks for a name through the save dialog and writes the
// held image as chosen there, with the frame keys off meanwhile. The options dialog runs
// the same dialog to choose the name and format of automatic saving. Every answer of the
// dialog, also a cancelled one, goes to automatic saving.
#include "image/ImageDocument.h"
#include "saving/AutomaticSaving.h"
#include "saving/SaveChoice.h"

namespace korvan {

// The grabber frame's sixteen keys, switched as one block, and the "Enable" box.
class IFrameKeySwitch {
public:
    virtual ~IFrameKeySwitch() = default;
    virtual void SwitchOff() = 0;
    virtual void SwitchOn() = 0;
    virtual bool EnableFrameKeys() const = 0;
};

class SaveCommands {
public:
    SaveCommands(AutomaticSaving& automatic, ImageDocument& image, ISaveDialog& dialog, IFrameKeySwitch& keys)
        : automatic_(automatic), image_(image), dialog_(dialog), keys_(keys) {}

    // The save button. It first forgets the automatic name, so a cancelled dialog (or no
    // image) stops automatic saving until a name is chosen again. The dialog opens on the
    // first type. A failing save raises the image document's error after the frame keys
    // are back on.
    void SaveImage();
    // The options dialog's choice of the name and format of automatic saving ("Save
    // images automatically" opens on the first type, "Edit saving options" on the type
    // chosen last); the options dialog switches the frame keys around it.
    void ChooseAutomaticSaving(bool onFirstType);

private:
    SaveChoice Ask(bool onFirstType);
    void Write(const SaveChoice& choice);
    // Runs the body with the frame keys off, and back on afterwards when enabled, also
    // when the body fails.
    template <typename Body> void WithFrameKeysOff(Body body);

    AutomaticSaving& automatic_;
    ImageDocument& image_;
    ISaveDialog& dialog_;
    IFrameKeySwitch& keys_;
};

} // namespace korvan
