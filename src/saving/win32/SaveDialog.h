#pragma once
// The save dialog: the system's standard save-file dialog with a panel of format options
// below its standard controls (colour depth, JPEG compression). The panel's state and
// logic live in FormatPanel; this class mirrors it in controls and reports the user's
// clicks to it. The owner reacts to OnShow, OnTypeChange and OnClose.
#include "platform/win32/ControlTable.h"
#include "saving/SaveCommands.h"
#include "saving/FormatPanel.h"
#include "saving/SaveSettings.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace korvan::win {

class SaveDialog final : public ISaveDialog {
public:
    SaveDialog(HWND owner, SaveDialogState& state) : owner_(owner), state_(state) {}
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    // Runs the dialog modally; true when the user confirmed a file name, which is then
    // in the state's FileName.
    bool Execute() override;

    FormatPanel Panel;
    std::function<void()> OnShow, OnTypeChange, OnClose;

    // Control ids, for the panel's window and for tests that drive it.
    enum : int { kPanelId = 0x5A0, kSubFormatId, kDepthGroupId, kRadioGroupId, kQualityGroupId, kQualityEditId,
                 kSliderId, kFirstDepthId };
    static constexpr int kMaxDepths = 6;

private:
    static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void InitDone(HWND dialog);
    void TypeChanged(int index);
    void CreatePanel(HWND dialog);
    void Render();
    HWND Item(int id) const;
    void OnPanelCommand(int id, int code);
    void OnSlider();
    void SetEditText(const std::wstring& text);

    HWND owner_;
    SaveDialogState& state_;
    HWND dialog_ = nullptr;  // the system dialog
    std::unique_ptr<ControlTable> controls_;  // ExtraPanel and its controls, while the dialog is open
    bool settingText_ = false;
};

} // namespace korvan::win
