#pragma once
// What the capture commands need beyond the shared system ports: the grabber frame's
// capture rectangle and the live settings of the options dialog.
#include "platform/SystemPorts.h"

namespace korvan {

// The grabber frame's capture rectangle: its inner panel on the screen.
class IFrameArea {
public:
    virtual ~IFrameArea() = default;
    virtual ScreenRect Panel2ScreenRect() const = 0;
    virtual int Panel2Width() const = 0;
    virtual int Panel2Height() const = 0;
};

// The hidden helper that receives the press ending a window pick.
class IPickHelper {
public:
    virtual ~IPickHelper() = default;
    // From now on the next press of any mouse button anywhere on the screen goes to the helper.
    virtual void SetCapture() = 0;
    // The pick was called off before a press: the helper stops listening.
    virtual void CancelPick() = 0;
};

// The live settings the capture commands read (the options dialog's controls).
class IOptionsSettings {
public:
    virtual ~IOptionsSettings() = default;
    virtual bool CopytoClipboard() const = 0;
    virtual bool Pastedirect() const = 0;
    virtual bool OtherAppsEnabled() const = 0;
    virtual int OtherAppsIndex() const = 0;
    virtual bool HideApp() const = 0;
    virtual bool Showpreviewwindow() const = 0;
    virtual bool CheckBox1() const = 0;
    virtual WindowHandle TargetWindow() const = 0;
    virtual int AreaOptionsIndex() const = 0;
};

} // namespace korvan
