#pragma once
// The main tool window: one row of picture buttons whose handlers are the commands.
#include "app/ToolbarLayout.h"
#include "app/win32/Forms.h"
#include "capture/CaptureCommands.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemAdapters.h"
#include "platform/win32/WindowBase.h"

#include <memory>

namespace korvan::win {

class TMainfrm final : public WindowBase<TMainfrm>, public IMainWindowPosition {
public:
    explicit TMainfrm(Forms& forms);
    ~TMainfrm() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once every window exists: the commands reach the others from here on.
    void FormsCreated();

    // IMainWindowPosition
    int Left() const override;
    int Width() const override;
    void SetLeft(int left) override;

    CaptureCommands& Commands() { return *commands_; }
    bool SmallToolbar() const { return smallToolbar_; }
    void SetSmallToolbar(bool small);

    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton7Click();
    void ToolButton09Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void ToolButton16Click();

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
    std::unique_ptr<CaptureCommands> commands_;
};

} // namespace korvan::win
