#pragma once
// The save dialog: the system's standard save-file dialog with a panel of format options
// below its standard controls (colour depth, JPEG compression). The panel's state and
// logic live in FormatPanel; this class mirrors it in controls and reports the user's
// clicks to it.
#include "platform/win32/ControlTable.h"
#include "saving/FormatPanel.h"
#include "saving/SaveChoice.h"

#include <windows.h>

#include <memory>

namespace korvan::win {

class SaveDialog final : public ISaveDialog {
public:
    explicit SaveDialog(HWND owner) : owner_(owner) {}
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    SaveChoice Run(const SaveDialogStart& start) override;

    // Control ids, for the panel's window and for tests that drive it.
    enum : int { kPanelId = 0x5A0, kSubFormatId, kDepthGroupId, kDepthListId, kQualityGroupId, kQualityEditId,
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
    FormatPanel panel_;
    HWND dialog_ = nullptr;  // the system dialog
    std::unique_ptr<ControlTable> controls_;  // the panel and its controls, while the dialog is open
    bool settingText_ = false;
};

} // namespace korvan::win
