#pragma once
// The main tool window: one row of picture buttons whose handlers are the commands.
#include "app/ToolbarLayout.h"
#include "capture/CaptureCommands.h"
#include "capture/win32/PickHelperWin32.h"
#include "platform/GlobalHotKey.h"
#include "platform/LanguageTables.h"
#include "platform/MonitorDpi.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PlacementBinding.h"
#include "platform/win32/SystemAdapters.h"
#include "platform/win32/WindowBase.h"
#include "saving/AutomaticSaving.h"
#include "saving/SaveCommands.h"
#include "saving/win32/SaveDialog.h"
#include "settings/FrameKeyOptions.h"

#include <commctrl.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace korvan::win {

// The other windows as the main window reaches them: through these ports only, handed
// over by the application, which alone owns every window, once all of them exist.
struct MainWindowLinks {
    IWindowView& preview;
    ImageDocument& image;  // the preview's document, holder of the last capture
    IWindowView& frame;
    IFrameArea& frameArea;
    FrameKeyOptions& frameKeys;  // the frame keys as the options' "Enable" switches them
    const IOptionsSettings& settings;
    IWindowView& options;
    IWindowView& help;
    IWindowView& info;
};

class MainWindow final : public WindowBase<MainWindow>, public IMainWindowPosition, private IUserNotice {
public:
    MainWindow(IHotKeySystem& hotKeys, HotKeyConflicts& conflicts);
    ~MainWindow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once every window exists: the commands reach the others from here on.
    void Connect(const MainWindowLinks& links);
    // Shows the window at start: centred as designed, then where it was last time.
    void ShowAtStart();

    // IMainWindowPosition
    int Left() const override;
    int Width() const override;
    void SetLeft(int left) override;
    // Where the window stands, or stood before a capture moved it away.
    ScreenRect HomeRect() const;

    // The zoom the preview shows the last capture at.
    int ZoomFactor() const { return commands_->ZoomFactor(); }
    // Saving by hand, and the options dialog's choice of the automatic saving's name.
    SaveCommands& Saving() { return *saving_; }
    // Pipeline steps the application uses for the options dialog, which moves the main
    // window away while it is open.
    void MoveOffScreen();
    void RestoreAfterCapture();
    // Shows a message once the current message is handled (never inside activation).
    void QueueMessage(const std::string& text);
    void SetSmallToolbar(bool small);
    // Registers Print Screen once more, after the system let go of it.
    void RegisterPrintScreenAgain();
    // Calls an armed window pick off: main window and system cursors back.
    void CancelWindowPick();
    // Closes the main window, which ends the program.
    void Exit();

    static constexpr int kInnerBorder = 5;
    static constexpr int kHintHidePauseMs = 15000;

private:
    // The toolbar's commands, the Print Screen key and the program's activation.
    void SaveImage();
    void CaptureFrame();
    void HideFrame();
    void CaptureArea();
    void CaptureObject();
    void ArmWindowPick();
    void FinishWindowPick();
    void CaptureDesktop();
    void ShowOptions();
    void ShowHelp();
    void ShowInfo();
    void PrintScreenPressed();
    void OnProgramActivated();
    void OnProgramDeactivated();

    void CreateContents();
    void CreateToolBar();
    void BuildImageLists();
    void AutoSize();
    void CenterOnScreen();
    void OnCommand(int id);
    LRESULT OnNotify(NMHDR* header);
    void OnDpiChanged(const RECT& suggested);
    void ShowQueuedMessages();
    void CreateSaveDialog();
    // IUserNotice: shown once the command is done.
    void Tell(const std::string& text) override { QueueMessage(text); }
    std::wstring HintOf(size_t index) const;
    // The keyboard's way through the toolbar.
    static LRESULT CALLBACK ToolBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data);
    bool OnToolBarKey(WPARAM key);
    void RepaintFocusButton();
    LRESULT OnToolBarDraw(const NMTBCUSTOMDRAW& draw);
    void DrawFocusMark(HDC dc, RECT button);

    // The frame keys as the save commands switch them.
    class FrameKeySwitch final : public IFrameKeySwitch {
    public:
        void Connect(FrameKeyOptions& keys) { keys_ = &keys; }
        void SwitchOff() override { keys_->SwitchOff(); }
        void SwitchOn() override { keys_->SwitchOn(); }
        bool EnableFrameKeys() const override { return keys_->Enabled(); }

    private:
        FrameKeyOptions* keys_ = nullptr;
    };

    std::optional<MainWindowLinks> links_;  // from Connect on
    HWND toolBar_ = nullptr;
    HWND pickHelperButton_ = nullptr;
    // The toolbar's pictures: 32 x 32 and 19 x 19, each for normal and hot buttons and
    // for disabled ones.
    UniqueHandle<ImageListTraits> largeImages_, largeDisabledImages_, smallImages_, smallDisabledImages_;
    GdiObject font_;
    bool smallToolbar_ = false;
    WindowSystemWin32 system_{nullptr};
    ClockWin32 clock_;
    KeyboardWin32 keyboard_;
    CursorsWin32 cursors_;
    FileSystemWin32 files_;
    AutomaticSaving automaticSaving_{files_, cursors_};
    std::unique_ptr<PickHelperWin32> pickHelper_;
    std::unique_ptr<IInteractiveCapture> interactiveCapture_;
    std::unique_ptr<CaptureCommands> commands_;
    std::unique_ptr<SaveDialog> saveDialog_;
    FrameKeySwitch frameKeySwitch_;
    std::unique_ptr<SaveCommands> saving_;
    std::unique_ptr<GlobalHotKey> printScreenKey_;
    std::unique_ptr<PlacementBinding> placement_;
    HotKeyConflicts& conflicts_;
    std::deque<std::string> messages_;
    // The left SetLeft is moving the window to, while it does.
    std::optional<int> placingAt_;
    // The toolbar buttons as the language passes see them (hints only).
    ComponentSet toolTexts_;
    std::wstring tipText_;       // the hint on show
    int focusButton_ = 0;        // index into kToolButtons of the button the keys work
    bool keyboardCues_ = false;  // a key was used on the toolbar: the focus mark shows
};

} // namespace korvan::win
