#pragma once
// What the program's commands need from the windows and the system, shared by every
// subsystem: window show and position, the clock, the keyboard, cursors and files.
// The windows wire Win32 adapters to these; tests wire recording fakes.
#include "platform/ScreenSize.h"

#include <cstdint>
#include <string>

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
};

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    virtual void ShowWindow(WindowHandle window, int command) = 0;
    virtual void BringWindowToTop(WindowHandle window) = 0;
    // Brings a minimised application back (the task-bar window restored).
    virtual void RestoreApplication() = 0;
    virtual ScreenSize PrimaryScreenSize() const = 0;
    // Whether the handle names a window that exists now (a closed window's handle does not).
    virtual bool IsWindow(WindowHandle window) const = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual void Sleep(int milliseconds) = 0;
};

class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    virtual int ScanCodeOf(int virtualKey) = 0;
    virtual void KeyEvent(int virtualKey, int scanCode, int flags) = 0;
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
    // Puts copies of the saved cursors back as the system's arrow and I-beam cursors.
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
inline constexpr int kKeyEventKeyUp = 2;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkV = 0x56;
inline constexpr int kIdcArrow = 32512;
inline constexpr int kIdcIBeam = 32513;
inline constexpr int kOcrNormal = 32512;
inline constexpr int kOcrIBeam = 32513;

} // namespace korvan
