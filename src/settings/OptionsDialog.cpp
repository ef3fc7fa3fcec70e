#include "settings/OptionsDialog.h"

namespace korvan {

OptionsDialog::OptionsDialog(IOptionsDialogPorts& ports, const IProcessLookup& processes,
                             FrameKeySettings& frameKeys)
    : ports_(ports), discovery_(processes), frameKeys_(frameKeys) {
    // As designed: every control enabled, only "Enable Hints" checked, no entry selected.
    enabled_.fill(true);
    selected_.fill(-1);
    checked_[Index(OptionControl::EnableHints)] = true;
}

void OptionsDialog::Create() {
    SetChecked(OptionControl::Showpreviewwindow, true);
    SetChecked(OptionControl::CopytoClipboard, true);
    enabled_[Index(OptionControl::Pastedirect)] = true;
    enabled_[Index(OptionControl::OtherApps)] = false;
    enabled_[Index(OptionControl::HideApp)] = false;
    SetChecked(OptionControl::Bigtoolbar, true);
    areaOptions_ = {L"Rectangle", L"RoundRectangle", L"Triangle", L"Polygon", L"Ellipse", L"Freehand"};
    selected_[Index(OptionControl::AreaOptions)] = 0;
    otherApps_ = {L"< Applications >", L"Winword", L"Excel", L"Powerpoint", L"MSPaint"};
    selected_[Index(OptionControl::OtherApps)] = 0;
    targetWindow_ = 0;
}

const std::vector<std::wstring>& OptionsDialog::Items(OptionControl list) const {
    return list == OptionControl::AreaOptions ? areaOptions_ : otherApps_;
}

bool OptionsDialog::Checked(OptionControl control) const {
    if (control == OptionControl::EnableHotkeys) return frameKeys_.EnableHotkeys;
    if (control == OptionControl::StoreFurther) return frameKeys_.StoreFurther;
    return checked_[Index(control)];
}

void OptionsDialog::SetChecked(OptionControl control, bool checked) {
    if (Checked(control) == checked) return;
    if (control == OptionControl::EnableHotkeys) frameKeys_.EnableHotkeys = checked;
    else if (control == OptionControl::StoreFurther) frameKeys_.StoreFurther = checked;
    else checked_[Index(control)] = checked;
    if (checked && control == OptionControl::Bigtoolbar) checked_[Index(OptionControl::Smalltoolbar)] = false;
    if (checked && control == OptionControl::Smalltoolbar) checked_[Index(OptionControl::Bigtoolbar)] = false;
    RunHandler(control);
}

void OptionsDialog::RunHandler(OptionControl control) {
    switch (control) {
    case OptionControl::CopytoClipboard: CopytoClipboardClick(); break;
    case OptionControl::Pastedirect: PastedirectClick(); break;
    case OptionControl::Bigtoolbar: BigtoolbarClick(); break;
    case OptionControl::Smalltoolbar: SmalltoolbarClick(); break;
    case OptionControl::EnableHints: EnableHintsClick(); break;
    case OptionControl::CheckBox1: CheckBox1Click(); break;
    default: break;
    }
}

// "Paste directly to:" keeps its check mark; only what may be used changes.
void OptionsDialog::CopytoClipboardClick() {
    bool clipboard = Checked(OptionControl::CopytoClipboard);
    bool paste = clipboard && Checked(OptionControl::Pastedirect);
    enabled_[Index(OptionControl::Pastedirect)] = clipboard;
    enabled_[Index(OptionControl::OtherApps)] = paste;
    enabled_[Index(OptionControl::HideApp)] = paste;
}

void OptionsDialog::PastedirectClick() {
    bool paste = Checked(OptionControl::Pastedirect);
    enabled_[Index(OptionControl::OtherApps)] = paste;
    enabled_[Index(OptionControl::HideApp)] = paste;
}

void OptionsDialog::RunSaveDialog(bool resetFileType) {
    ports_.SwitchFrameKeysOff();
    ports_.RunSaveDialog(resetFileType);
    ports_.SwitchFrameKeysBack();
}

// Only checking opens the save dialog; unchecking does nothing else.
void OptionsDialog::CheckBox1Click() {
    if (Checked(OptionControl::CheckBox1)) RunSaveDialog(true);
}

void OptionsDialog::BitBtn1Click() { RunSaveDialog(false); }

void OptionsDialog::Button1Click() {
    bool mayClose = true;
    bool listEnabled = Enabled(OptionControl::OtherApps);
    int entry = Selected(OptionControl::OtherApps);
    if (listEnabled && entry > 0) {
        targetWindow_ = 0;
        ports_.EnumerateTopLevelWindows();
    } else if (listEnabled && entry == 0) {
        ports_.ShowMessage(kChooseApplicationText, "Information", kMbIconInformation);
        mayClose = false;
    }
    // Not found: the dialog still closes, and no target is known until the next OK finds one.
    if (targetWindow_ == 0 && listEnabled && entry > 0)
        ports_.ShowMessage(kApplicationNotFoundText, "Error", kMbIconError);
    if (!listEnabled) targetWindow_ = 0;
    ports_.StoreAndApplyFrameKeys();
    if (!keepOpen_ && mayClose) ports_.CloseDialog();
    keepOpen_ = false;
}

void OptionsDialog::Button3Click() {
    frameKeys_.HotKey = kDefaultFrameKeys;
    keepOpen_ = true;
    Button1Click();
}

void OptionsDialog::ExamineWindow(WindowHandle window) {
    discovery_.Examine(window, Selected(OptionControl::OtherApps), targetWindow_);
}

} // namespace korvan
