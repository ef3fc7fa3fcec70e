#pragma once
// Saving by hand: the save button asks for a name through the save dialog and writes the
// held image with the settings chosen there, with the frame keys off meanwhile. The
// options dialog runs the same dialog to choose the name and format of automatic saving.
#include "image/ImageDocument.h"
#include "saving/SaveSettings.h"

namespace korvan {

// The save dialog as its callers run it.
class ISaveDialog {
public:
    virtual ~ISaveDialog() = default;
    // Runs the dialog modally; true when the user confirmed a file name.
    virtual bool Execute() = 0;
};

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
    SaveCommands(SaveDialogState& extSave, SaveSettings& settings, ImageDocument& image, ISaveDialog& dialog,
                 IFrameKeySwitch& keys)
        : saveDialog_(extSave), settings_(settings), image_(image), dialog_(dialog), keys_(keys) {}

    // The save button. A failing save raises the image document's error after the frame
    // keys are back on.
    void SaveImage();
    // The options dialog's choice of the name and format of automatic saving ("Save images
    // automatically" starts on the first type, "Edit saving options" on the type chosen
    // last); the options dialog switches the frame keys around it.
    void ChooseAutomaticSaving(bool resetFileType);

private:
    // Runs the body with the frame keys off, and back on afterwards when enabled, also
    // when the body fails.
    template <typename Body> void WithFrameKeysOff(Body body);

    SaveDialogState& saveDialog_;
    SaveSettings& settings_;
    ImageDocument& image_;
    ISaveDialog& dialog_;
    IFrameKeySwitch& keys_;
};

} // namespace korvan
