#pragma once
// What the program's commands need from the windows and the system, shared by every
// subsystem: window show and position, the clock, the keyboard, cursors and files.
// The windows wire Win32 adapters to these; tests wire recording fakes.
#include "platform/ScreenSize.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvan {

using WindowHandle = uintptr_t;

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The main window's horizontal position; it is moved off the desktop, never minimised.
class IMainWindowPosition {
public:
    virtual ~IMainWindowPosition() = default;
    virtual int Left() const = 0;
    virtual int Width() const = 0;
    virtual void SetLeft(int left) = 0;
};

// One of the program's other windows (the preview, the grabber frame).
class IWindowView {
public:
    virtual ~IWindowView() = default;
    virtual bool Visible() const = 0;
    virtual void Show() = 0;
    virtual void Close() = 0;
    virtual void BringToFront() = 0;
    // Shows the window on top of the others but leaves the foreground where it is.
    virtual void ShowWithoutActivating() = 0;
};

// The program a window belongs to: its process and the executable that process runs.
struct ProcessIdentity {
    uint32_t id = 0;
    std::wstring image;  // full path; empty when the system does not tell
    bool operator==(const ProcessIdentity&) const = default;
};

// Calls on other programs' windows never wait for those programs: one that does not
// respond (hung, stopped in a debugger) cannot hold the caller up.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    virtual void ShowWindow(WindowHandle window, int command) = 0;
    // Raises the window and lets it take the foreground.
    virtual void BringWindowToTop(WindowHandle window) = 0;
    // Brings a minimised application back (the task-bar window restored).
    virtual void RestoreApplication() = 0;
    virtual ScreenSize PrimaryScreenSize() const = 0;
    // The union of all monitors; its left is negative when a monitor lies left of the primary one.
    virtual ScreenRect VirtualScreen() const = 0;
    // Whether the handle names a window that exists now (a closed window's handle does not).
    virtual bool IsWindow(WindowHandle window) const = 0;
    // Whether the window's program has taken everything sent to it so far, waiting at
    // most timeoutMs for it.
    virtual bool Responds(WindowHandle window, int timeoutMs) = 0;
    // Whether the system counts the window's program as not responding.
    virtual bool IsHung(WindowHandle window) const = 0;
    // Whether the window takes input (a modal dialog of its own disables it).
    virtual bool IsEnabled(WindowHandle window) const = 0;
    // The top of the foreground window's chain of owners (the window itself when it has
    // none); 0 when no window is in the foreground.
    virtual WindowHandle ForegroundRootOwner() const = 0;
    virtual ProcessIdentity ProcessOf(WindowHandle window) const = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual void Sleep(int milliseconds) = 0;
    // A count of milliseconds that only ever grows, for deadlines.
    virtual int64_t Milliseconds() const = 0;
};

// One synthetic key event: virtual key, its scan code, key-event flags.
struct KeyStroke {
    int virtualKey = 0;
    int scanCode = 0;
    int flags = 0;
    bool operator==(const KeyStroke&) const = default;
};

class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    virtual int ScanCodeOf(int virtualKey) = 0;
    // The modifier keys (kVkLeftShift ... kVkRightWin) down now.
    virtual std::vector<int> HeldModifiers() const = 0;
    // Types the strokes in one go, so no key the user presses comes between them.
    virtual void Type(const std::vector<KeyStroke>& strokes) = 0;
};

class ICursors {
public:
    virtual ~ICursors() = default;
    virtual void SetWaitCursor() = 0;
    virtual void SetDefaultCursor() = 0;
    // A copy of one of the system's stock cursors (kIdcArrow, kIdcIBeam), to put back later.
    virtual uintptr_t CopySystemCursor(int stockCursor) = 0;
    // Replaces a system cursor (kOcrNormal, kOcrIBeam) with the program's window-pick cursor.
    virtual void SetPickCursor(int systemCursor) = 0;
    // Puts the system's cursors back as the user had them: the user's cursor scheme
    // reloaded (animated and enlarged cursors included), or, where that fails, copies of
    // the saved arrow and I-beam cursors. The saved copies are used up either way.
    virtual void RestoreSystemCursors(uintptr_t savedArrow, uintptr_t savedIBeam) = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual bool FileExists(const std::wstring& path) const = 0;
};

// Show commands and key flags of the system, by value.
inline constexpr int kSwHide = 0;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;
inline constexpr int kKeyEventExtendedKey = 1;
inline constexpr int kKeyEventKeyUp = 2;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkV = 0x56;
inline constexpr int kVkLeftWin = 0x5B;
inline constexpr int kVkRightWin = 0x5C;
inline constexpr int kVkLeftShift = 0xA0;
inline constexpr int kVkRightShift = 0xA1;
inline constexpr int kVkLeftControl = 0xA2;
inline constexpr int kVkRightControl = 0xA3;
inline constexpr int kVkLeftAlt = 0xA4;
inline constexpr int kVkRightAlt = 0xA5;
inline constexpr int kIdcArrow = 32512;
inline constexpr int kIdcIBeam = 32513;
inline constexpr int kOcrNormal = 32512;
inline constexpr int kOcrIBeam = 32513;

} // namespace korvan
