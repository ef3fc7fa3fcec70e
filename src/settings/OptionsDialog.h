#pragma once
// What the options dialog does, apart from its window: the state of its check boxes,
// radio buttons and lists (they are the program's live settings), the enabling rule of
// the "Capture to" group, the OK step, Default and Cancel. The window shows this state
// and passes the user's clicks in; the capture commands read it as IOptionsSettings.
#include "capture/CapturePorts.h"
#include "settings/SettingsStore.h"
#include "settings/TargetDiscovery.h"

#include <array>
#include <string>
#include <vector>

namespace korvan {

enum class OptionControl {
    ShowPreviewWindow,
    CopyToClipboard,
    PasteDirectly,
    PasteTarget,
    HideTarget,
    LargeToolbar,
    SmallToolbar,
    EnableHints,
    AreaShape,
    EnableFrameKeys,
    KeepEnabled,
    AutoSave,
    Count,
};

// The two lists; every other option control is a check box or a radio button.
inline constexpr bool IsList(OptionControl control) {
    return control == OptionControl::PasteTarget || control == OptionControl::AreaShape;
}

// The dialog's state at creation, set in this order between the language passes and
// the settings load. A box checked from code runs its click handler as a user's click
// does: checking "Clipboard" runs the enabling rule, checking the large toolbar sizes
// the main window's toolbar. The frame keys' two boxes come from the settings store.
struct OptionDefault {
    OptionControl control;
    bool checked;
    bool enabled;
    int entry = -1;  // the selected entry of a list
};
inline constexpr OptionDefault kOptionDefaults[] = {
    {OptionControl::ShowPreviewWindow, true, true},
    {OptionControl::CopyToClipboard, true, true},
    {OptionControl::PasteDirectly, false, true},
    {OptionControl::PasteTarget, false, false, 0},  // "< Applications >"
    {OptionControl::HideTarget, false, false},
    {OptionControl::LargeToolbar, true, true},
    {OptionControl::SmallToolbar, false, true},
    {OptionControl::EnableHints, true, true},
    {OptionControl::AreaShape, false, true, 0},  // "Rectangle"
    {OptionControl::AutoSave, false, true},
};

// What the dialog's handlers do outside its own controls, through its own window.
class IOptionsDialogPorts {
public:
    virtual ~IOptionsDialogPorts() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption, unsigned flags) = 0;
    virtual void CloseDialog() = 0;
    virtual void SetHintsShown(bool shown) = 0;
    // Hands every top-level window to OptionsDialog::ExamineWindow, top of the Z order first.
    virtual void EnumerateTopLevelWindows() = 0;
    // The OK step's frame-key part: store the settings, assign the sixteen combinations,
    // switch the keys by EnableFrameKeys.
    virtual void StoreAndApplyFrameKeys() = 0;
    virtual void SwitchFrameKeysOff() = 0;
    // On again only when EnableFrameKeys is checked.
    virtual void SwitchFrameKeysBack() = 0;
};

// What the dialog asks of the other windows. The application, which alone owns every
// window, answers.
class IOptionsHost {
public:
    virtual ~IOptionsHost() = default;
    virtual void MoveMainWindowOffScreen() = 0;
    virtual void RestoreMainWindow() = 0;
    // Closes the preview when it is shown.
    virtual void ClosePreview() = 0;
    // Shows the preview when its image document holds an image.
    virtual void ShowPreviewWithImage() = 0;
    virtual void UseLargeToolbar() = 0;
    virtual void UseSmallToolbar() = 0;
    // The save dialog; resetFileType starts it at the first file type.
    virtual void RunSaveDialog(bool resetFileType) = 0;
};

inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbIconError = 0x10;

class OptionsDialog final : public IOptionsSettings {
public:
    OptionsDialog(IOptionsDialogPorts& ports, IOptionsHost& host, const IProcessLookup& processes,
                  FrameKeySettings& frameKeys);

    // The creation steps between the language passes and the settings load: the
    // defaults set (kOptionDefaults), lists filled, no target.
    void Create();

    bool Checked(OptionControl control) const;
    bool Enabled(OptionControl control) const { return enabled_[Index(control)]; }
    int Selected(OptionControl list) const { return selected_[Index(list)]; }
    const std::vector<std::wstring>& Items(OptionControl list) const;

    // Checking from code runs the click handler exactly as a user click does, when the
    // state changes; a radio button unchecks its sibling.
    void SetChecked(OptionControl control, bool checked);
    // The user picked an entry, or typed a text (entry -1 when it names none).
    void Select(OptionControl list, int entry) { selected_[Index(list)] = entry; }

    void CopyToClipboardClick();
    void PasteDirectlyClick();
    void LargeToolbarClick() { host_.UseLargeToolbar(); }
    void SmallToolbarClick() { host_.UseSmallToolbar(); }
    void EnableHintsClick() { ports_.SetHintsShown(Checked(OptionControl::EnableHints)); }
    void AutoSaveClick();
    void EditSavingOptionsClick();
    void OkClick();  // OK
    void CancelClick() { ports_.CloseDialog(); }  // Cancel
    void DefaultClick();  // Default
    // While the dialog is shown the main window is off the screen and the preview closed;
    // closing brings both back, also when the dialog was never shown (a first run's OK).
    void OnShow();
    void OnClose();

    // The discovery message's examination of one window. Only the OK step's own
    // enumeration may set the target: at any other time the examination does nothing.
    void ExamineWindow(WindowHandle window);

    // IOptionsSettings
    bool CopyToClipboard() const override { return Checked(OptionControl::CopyToClipboard); }
    bool PasteDirectly() const override { return Checked(OptionControl::PasteDirectly); }
    bool PasteTargetEnabled() const override { return Enabled(OptionControl::PasteTarget); }
    int PasteTargetIndex() const override { return Selected(OptionControl::PasteTarget); }
    bool HideTarget() const override { return Checked(OptionControl::HideTarget); }
    bool ShowPreviewWindow() const override { return Checked(OptionControl::ShowPreviewWindow); }
    bool AutoSave() const override { return Checked(OptionControl::AutoSave); }
    WindowHandle TargetWindow() const override { return targetWindow_; }
    ProcessIdentity TargetProcess() const override { return targetProcess_; }
    int AreaShapeIndex() const override { return Selected(OptionControl::AreaShape); }

    static constexpr const char* kChooseApplicationText =
        "Dear User. Choose an application\r in witch you want to grab in.";
    static constexpr const char* kApplicationNotFoundText =
        "Dear User. We can\xC2\xB4t found the application you choosed.\rBe sure that the application runs before "
        "you press \"OK\"!";

private:
    static size_t Index(OptionControl control) { return static_cast<size_t>(control); }
    void RunHandler(OptionControl control);
    void RunSaveDialog(bool resetFileType);
    void FindTarget();
    // The target, with the program it belongs to now.
    void SetTargetWindow(WindowHandle window);

    IOptionsDialogPorts& ports_;
    IOptionsHost& host_;
    const IProcessLookup& processes_;
    TargetDiscovery discovery_;
    FrameKeySettings& frameKeys_;
    static constexpr size_t kCount = static_cast<size_t>(OptionControl::Count);
    std::array<bool, kCount> checked_{};
    std::array<bool, kCount> enabled_{};
    std::array<int, kCount> selected_{};
    std::vector<std::wstring> areaShapes_, pasteTargets_;
    WindowHandle targetWindow_ = 0;
    ProcessIdentity targetProcess_;  // the program the target belonged to when found
    bool discovering_ = false;
    bool keepOpen_ = false;
};

} // namespace korvan
