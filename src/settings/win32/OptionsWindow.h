#pragma once
// The options dialog: holder of the live settings for the whole run. Its controls are
// declared in one table; what they do is OptionsDialog's. Its creation loads the
// frame-key settings from the registry and switches the frame keys; its OK step finds
// the target application, stores and applies the frame keys.
#include "platform/Registry.h"
#include "platform/win32/ControlTable.h"
#include "platform/win32/TopLevelWindow.h"
#include "settings/FrameKeyOptions.h"
#include "settings/OptionsDialog.h"
#include "settings/win32/ProcessLookupWin32.h"

namespace korvan::win {

class OptionsWindow final : public TopLevelWindow<OptionsWindow>, private IOptionsDialogPorts {
public:
    // host: the other windows, as the application lets the dialog reach them; the dialog
    // opens centred on the main window's monitor.
    OptionsWindow(HWND mainWindow, IOptionsHost& host, FrameKeys& frameKeys, IRegistry& registry);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    const IOptionsSettings& Settings() const { return dialog_; }
    FrameKeyOptions& KeyOptions() { return frameKeys_; }

    void OnShow();
    void OnClose() { dialog_.OnClose(); }

private:
    // The OK step (also run by the Default button, and once by a first run's load).
    void OkClick();
    void CreateContents();
    void OnCommand(int id, int code);
    void OnDpiChanged(const RECT& suggested);
    // The dialog's state shown in the controls; the hot key fields read and set.
    void Refresh();
    void ReadHotKeys();
    void ShowHotKeys();

    // IOptionsDialogPorts
    void ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void CloseDialog() override { Close(); }
    void SetHintsShown(bool shown) override;
    void EnumerateTopLevelWindows() override;
    void StoreAndApplyFrameKeys() override { frameKeys_.SaveAndApply(); }
    void SwitchFrameKeysOff() override { frameKeys_.SwitchOff(); }
    void SwitchFrameKeysBack() override { frameKeys_.SwitchOnIfEnabled(); }

    HWND mainWindow_;
    ProcessLookupWin32 processes_;
    FrameKeyOptions frameKeys_;
    OptionsDialog dialog_;
    ControlTable controls_;
    UINT discoveryMessage_ = 0;
};

} // namespace korvan::win
