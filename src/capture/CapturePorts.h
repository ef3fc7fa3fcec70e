#pragma once
// What the capture commands need beyond the shared system ports: the grabber frame's
// capture rectangle and the live settings of the options dialog.
#include "platform/SystemPorts.h"

namespace korvan {

// The grabber frame's capture rectangle: its inner panel on the screen.
class IFrameArea {
public:
    virtual ~IFrameArea() = default;
    virtual ScreenRect InsideRect() const = 0;
    virtual int InsideWidth() const = 0;
    virtual int InsideHeight() const = 0;
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
    virtual bool CopyToClipboard() const = 0;
    virtual bool PasteDirectly() const = 0;
    virtual bool PasteTargetEnabled() const = 0;
    virtual int PasteTargetIndex() const = 0;
    virtual bool HideTarget() const = 0;
    virtual bool ShowPreviewWindow() const = 0;
    virtual bool AutoSave() const = 0;
    virtual WindowHandle TargetWindow() const = 0;
    virtual int AreaShapeIndex() const = 0;
};

} // namespace korvan
