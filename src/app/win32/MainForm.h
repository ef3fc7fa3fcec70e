#pragma once
// The main tool window: one row of picture buttons whose handlers are the commands.
#include "app/ToolbarLayout.h"
#include "app/win32/Forms.h"
#include "capture/CaptureCommands.h"
#include "capture/win32/PickHelperWin32.h"
#include "platform/GlobalHotKey.h"
#include "platform/LanguageTables.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PlacementBinding.h"
#include "platform/win32/SystemAdapters.h"
#include "platform/win32/WindowBase.h"
#include "saving/SaveCommands.h"
#include "saving/SavePanel.h"
#include "saving/win32/ExtSaveDialog.h"

#include <deque>
#include <memory>
#include <string>

namespace korvan::win {

class TMainfrm final : public WindowBase<TMainfrm>, public IMainWindowPosition {
public:
    TMainfrm(Forms& forms, IHotKeySystem& hotKeys, HotKeyConflicts& conflicts);
    ~TMainfrm() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once every window exists: the commands reach the others from here on.
    void FormsCreated();
    // Shows the window at start: centred as designed, then where it was last time.
    void ShowAtStart();

    // IMainWindowPosition
    int Left() const override;
    int Width() const override;
    void SetLeft(int left) override;

    CaptureCommands& Commands() { return *commands_; }
    // Saving by hand, and the options dialog's choice of the automatic saving's name.
    SaveCommands& Saving() { return *saving_; }
    TExtSaveDialog& ExtSave() { return *extSave_; }
    // Pipeline steps other windows use (the options dialog moves the main window away
    // while it is open).
    void MoveOffScreen();
    void RestoreAfterCapture();
    // Shows a message once the current message is handled (never inside activation).
    void QueueMessage(const std::string& text);
    TGlobalHotKey& Grabit() { return *grabit_; }
    bool SmallToolbar() const { return smallToolbar_; }
    void SetSmallToolbar(bool small);

    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void Button1MouseDown();
    void ToolButton7Click();
    void ToolButton09Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void ToolButton16Click();
    void GrabitKeyDown();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();

    static constexpr int kInnerBorder = 5;
    static constexpr int kHintHidePauseMs = 15000;

private:
    void FormCreate();
    void CreateToolBar();
    void BuildImageLists();
    void AutoSize();
    void CenterOnScreen();
    void OnCommand(int id);
    LRESULT OnNotify(NMHDR* header);
    void OnDpiChanged(const RECT& suggested);
    void ShowQueuedMessages();
    void CreateSaveDialog();

    // The frame keys as the save commands switch them.
    class FrameKeySwitch final : public IFrameKeySwitch {
    public:
        explicit FrameKeySwitch(Forms& forms) : forms_(forms) {}
        void SwitchOff() override;
        void SwitchOn() override;
        bool EnableHotkeys() const override;

    private:
        Forms& forms_;
    };

    Forms& forms_;
    HWND toolBar_ = nullptr;
    HWND button1_ = nullptr;
    // 32 x 32 normal/hot and disabled images, 19 x 19 normal and disabled images.
    UniqueHandle<ImageListTraits> imageList1_, images_, imageList2_, smallImages_;
    GdiObject font_;
    bool smallToolbar_ = false;
    WindowSystemWin32 system_{nullptr};
    ClockWin32 clock_;
    KeyboardWin32 keyboard_;
    CursorsWin32 cursors_;
    FileSystemWin32 files_;
    std::unique_ptr<PickHelperWin32> pickHelper_;
    std::unique_ptr<sdk::IShotCapture> shotCapture_;
    std::unique_ptr<CaptureCommands> commands_;
    std::unique_ptr<TExtSaveDialog> extSave_;
    std::unique_ptr<ExtSaveEvents> extSaveEvents_;
    FrameKeySwitch frameKeySwitch_{forms_};
    std::unique_ptr<SaveCommands> saving_;
    std::unique_ptr<TGlobalHotKey> grabit_;
    std::unique_ptr<PlacementBinding> placement_;
    HotKeyConflicts& conflicts_;
    std::deque<std::string> messages_;
    // The toolbar buttons as the language passes see them (hints only).
    ComponentSet toolTexts_;
};

} // namespace korvan::win
