#pragma once
// What the capture commands need beyond the shared system ports: the interactive capture,
// the grabber frame's capture rectangle, the window pick's helper and the live settings
// of the options dialog.
#include "capture/CaptureSettings.h"
#include "imaging/Bitmap.h"
#include "platform/SystemPorts.h"

#include <string>

namespace korvan {

// The grabber frame's capture rectangle: its inner panel on the screen.
class IFrameArea {
public:
    virtual ~IFrameArea() = default;
    virtual ScreenRect InsideRect() const = 0;
    virtual int InsideWidth() const = 0;
    virtual int InsideHeight() const = 0;
};

// The screen's interactive capture: the user draws an area or picks a window or control
// on a frozen picture of the screen, or the window under the pointer is taken. Each answers
// imaging::kSuccess with the image, or a negative status (called off by the cancel key or
// the right button, nothing chosen, another capture still running) and leaves the image
// alone.
class IInteractiveCapture {
public:
    virtual ~IInteractiveCapture() = default;
    virtual int CaptureArea(const CaptureSettings& settings, imaging::Bitmap& image) = 0;
    virtual int CaptureObject(const CaptureSettings& settings, imaging::Bitmap& image) = 0;
    // The top-level window under the pointer, at its visible bounds, as it shows now.
    virtual int CaptureWindowUnderPointer(imaging::Bitmap& image) = 0;
};

// The hidden helper that receives the press ending a window pick. What it listens with
// must be answered at once, so the program neither waits nor captures while it listens.
class IPickHelper {
public:
    virtual ~IPickHelper() = default;
    // From now on the next press of any mouse button anywhere on the screen goes to the
    // helper; it stops listening at that press.
    virtual void SetCapture() = 0;
    // Stops listening (the pick was called off, or it ended).
    virtual void StopListening() = 0;
};

// Tells the user something that is no error, once the command is done.
class IUserNotice {
public:
    virtual ~IUserNotice() = default;
    virtual void Tell(const std::string& text) = 0;
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
    // The program the target window belonged to when it was found.
    virtual ProcessIdentity TargetProcess() const = 0;
    virtual int AreaShapeIndex() const = 0;
};

} // namespace korvan
