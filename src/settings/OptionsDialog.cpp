#include "settings/OptionsDialog.h"

namespace korvan {

OptionsDialog::OptionsDialog(IOptionsDialogPorts& ports, IOptionsHost& host, const IProcessLookup& processes,
                             FrameKeySettings& frameKeys)
    : ports_(ports), host_(host), processes_(processes), discovery_(processes), frameKeys_(frameKeys) {
    // As designed: every control enabled, only "Enable Hints" checked, no entry selected.
    enabled_.fill(true);
    selected_.fill(-1);
    checked_[Index(OptionControl::EnableHints)] = true;
}

void OptionsDialog::Create() {
    areaShapes_ = {L"Rectangle", L"RoundRectangle", L"Triangle", L"Polygon", L"Ellipse", L"Freehand"};
    pasteTargets_ = {L"< Applications >", L"Winword", L"Excel", L"Powerpoint", L"MSPaint"};
    for (const OptionDefault& option : kOptionDefaults) {
        if (IsList(option.control)) {
            selected_[Index(option.control)] = option.entry;
        } else {
            SetChecked(option.control, option.checked);
        }
        enabled_[Index(option.control)] = option.enabled;
    }
    SetTargetWindow(0);
}

const std::vector<std::wstring>& OptionsDialog::Items(OptionControl list) const {
    return list == OptionControl::AreaShape ? areaShapes_ : pasteTargets_;
}

bool OptionsDialog::Checked(OptionControl control) const {
    if (control == OptionControl::EnableFrameKeys) return frameKeys_.EnableFrameKeys;
    if (control == OptionControl::KeepEnabled) return frameKeys_.KeepEnabled;
    return checked_[Index(control)];
}

void OptionsDialog::SetChecked(OptionControl control, bool checked) {
    if (Checked(control) == checked) return;
    if (control == OptionControl::EnableFrameKeys) frameKeys_.EnableFrameKeys = checked;
    else if (control == OptionControl::KeepEnabled) frameKeys_.KeepEnabled = checked;
    else checked_[Index(control)] = checked;
    if (checked && control == OptionControl::LargeToolbar) checked_[Index(OptionControl::SmallToolbar)] = false;
    if (checked && control == OptionControl::SmallToolbar) checked_[Index(OptionControl::LargeToolbar)] = false;
    RunHandler(control);
}

void OptionsDialog::RunHandler(OptionControl control) {
    switch (control) {
    case OptionControl::CopyToClipboard: CopyToClipboardClick(); break;
    case OptionControl::PasteDirectly: PasteDirectlyClick(); break;
    case OptionControl::LargeToolbar: LargeToolbarClick(); break;
    case OptionControl::SmallToolbar: SmallToolbarClick(); break;
    case OptionControl::EnableHints: EnableHintsClick(); break;
    case OptionControl::AutoSave: AutoSaveClick(); break;
    default: break;
    }
}

// "Paste directly to:" keeps its check mark; only what may be used changes.
void OptionsDialog::CopyToClipboardClick() {
    bool clipboard = Checked(OptionControl::CopyToClipboard);
    bool paste = clipboard && Checked(OptionControl::PasteDirectly);
    enabled_[Index(OptionControl::PasteDirectly)] = clipboard;
    enabled_[Index(OptionControl::PasteTarget)] = paste;
    enabled_[Index(OptionControl::HideTarget)] = paste;
}

void OptionsDialog::PasteDirectlyClick() {
    bool paste = Checked(OptionControl::PasteDirectly);
    enabled_[Index(OptionControl::PasteTarget)] = paste;
    enabled_[Index(OptionControl::HideTarget)] = paste;
}

void OptionsDialog::OnShow() {
    host_.MoveMainWindowOffScreen();
    host_.ClosePreview();
    keepOpen_ = false;
}

void OptionsDialog::OnClose() {
    host_.RestoreMainWindow();
    host_.ShowPreviewWithImage();
}

void OptionsDialog::RunSaveDialog(bool resetFileType) {
    ports_.SwitchFrameKeysOff();
    host_.RunSaveDialog(resetFileType);
    ports_.SwitchFrameKeysBack();
}

// Only checking opens the save dialog; unchecking does nothing else.
void OptionsDialog::AutoSaveClick() {
    if (Checked(OptionControl::AutoSave)) RunSaveDialog(true);
}

void OptionsDialog::EditSavingOptionsClick() { RunSaveDialog(false); }

void OptionsDialog::OkClick() {
    bool mayClose = true;
    bool listEnabled = Enabled(OptionControl::PasteTarget);
    int entry = Selected(OptionControl::PasteTarget);
    if (listEnabled && entry > 0) {
        FindTarget();
    } else if (listEnabled && entry == 0) {
        ports_.ShowMessage(kChooseApplicationText, "Information", kMbIconInformation);
        mayClose = false;
    }
    // Not found: the dialog still closes, and no target is known until the next OK finds one.
    if (targetWindow_ == 0 && listEnabled && entry > 0)
        ports_.ShowMessage(kApplicationNotFoundText, "Error", kMbIconError);
    if (!listEnabled) SetTargetWindow(0);
    ports_.StoreAndApplyFrameKeys();
    if (!keepOpen_ && mayClose) ports_.CloseDialog();
    keepOpen_ = false;
}

void OptionsDialog::DefaultClick() {
    frameKeys_.HotKey = kDefaultFrameKeys;
    keepOpen_ = true;
    OkClick();
}

void OptionsDialog::FindTarget() {
    targetWindow_ = 0;
    discovering_ = true;
    ports_.EnumerateTopLevelWindows();
    discovering_ = false;
    SetTargetWindow(targetWindow_);
}

void OptionsDialog::ExamineWindow(WindowHandle window) {
    if (!discovering_) return;
    discovery_.Examine(window, Selected(OptionControl::PasteTarget), targetWindow_);
}

void OptionsDialog::SetTargetWindow(WindowHandle window) {
    targetWindow_ = window;
    targetProcess_ = {};
    if (window == 0) return;
    targetProcess_.id = processes_.ProcessIdOf(window);
    targetProcess_.image = processes_.ImagePath(targetProcess_.id);
}

} // namespace korvan
