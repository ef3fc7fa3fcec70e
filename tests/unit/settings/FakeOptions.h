#pragma once
// The live settings as the capture commands read them, starting where the options
// dialog starts (its creation defaults, kOptionDefaults); tests change them at will.
// The paste target list is usable only with both "Clipboard" and "Paste directly to:"
// checked, as the dialog's enabling rule has it.
#include "settings/OptionsDialog.h"

namespace korvan::test {

class FakeOptions final : public IOptionsSettings {
public:
    bool CopyToClipboard() const override { return copyToClipboard; }
    bool PasteDirectly() const override { return pasteDirectly; }
    bool PasteTargetEnabled() const override { return copyToClipboard && pasteDirectly; }
    int PasteTargetIndex() const override { return pasteTargetIndex; }
    bool HideTarget() const override { return hideTarget; }
    bool ShowPreviewWindow() const override { return showPreviewWindow; }
    bool AutoSave() const override { return autoSave; }
    WindowHandle TargetWindow() const override { return targetWindow; }
    ProcessIdentity TargetProcess() const override { return targetProcess; }
    int AreaShapeIndex() const override { return areaShapeIndex; }

    bool copyToClipboard = DefaultOf(OptionControl::CopyToClipboard).checked;
    bool pasteDirectly = DefaultOf(OptionControl::PasteDirectly).checked;
    int pasteTargetIndex = DefaultOf(OptionControl::PasteTarget).entry;
    bool hideTarget = DefaultOf(OptionControl::HideTarget).checked;
    bool showPreviewWindow = DefaultOf(OptionControl::ShowPreviewWindow).checked;
    bool autoSave = DefaultOf(OptionControl::AutoSave).checked;
    WindowHandle targetWindow = 0;  // none until discovery finds one
    ProcessIdentity targetProcess;
    int areaShapeIndex = DefaultOf(OptionControl::AreaShape).entry;

private:
    static constexpr OptionDefault DefaultOf(OptionControl control) {
        for (const OptionDefault& option : kOptionDefaults)
            if (option.control == control) return option;
        return {control, false, false};
    }
};

} // namespace korvan::test
