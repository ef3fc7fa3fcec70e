#pragma once
// Win32 implementations of the capture commands' system ports.
#include "platform/SystemPorts.h"

#include <windows.h>

#include <string>

namespace korvan::win {

// The full path of the executable a process runs; empty when it cannot be told.
std::wstring ProcessImagePath(DWORD processId);

// Other programs' windows are shown and raised asynchronously: their own thread does it,
// so one that does not respond cannot hold the program's thread.
class WindowSystemWin32 final : public IWindowSystem {
public:
    explicit WindowSystemWin32(HWND applicationWindow) : application_(applicationWindow) {}
    void ShowWindow(WindowHandle window, int command) override;
    void BringWindowToTop(WindowHandle window) override;
    void RestoreApplication() override;
    ScreenSize PrimaryScreenSize() const override;
    ScreenRect VirtualScreen() const override;
    bool IsWindow(WindowHandle window) const override;
    bool Responds(WindowHandle window, int timeoutMs) override;
    bool IsHung(WindowHandle window) const override;
    bool IsEnabled(WindowHandle window) const override;
    WindowHandle ForegroundRootOwner() const override;
    ProcessIdentity ProcessOf(WindowHandle window) const override;

private:
    HWND application_;
};

class ClockWin32 final : public IClock {
public:
    void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds)); }
    int64_t Milliseconds() const override { return static_cast<int64_t>(::GetTickCount64()); }
};

// Keys typed with one SendInput call, so nothing the user types comes between them.
class KeyboardWin32 final : public IKeyboard {
public:
    int ScanCodeOf(int virtualKey) override;
    std::vector<int> HeldModifiers() const override;
    void Type(const std::vector<KeyStroke>& strokes) override;
};

class CursorsWin32 final : public ICursors {
public:
    void SetWaitCursor() override;
    void SetDefaultCursor() override;
    uintptr_t CopySystemCursor(int stockCursor) override;
    void SetPickCursor(int systemCursor) override;
    void RestoreSystemCursors(uintptr_t savedArrow, uintptr_t savedIBeam) override;
    // True while the wait cursor is in force (windows consult it in WM_SETCURSOR).
    static bool WaitCursorActive();
    // The system cursors go back to the user's scheme if a run ended (or crashed) while
    // they showed the pick cursor; a marker in the registry, gone at log-off, tells.
    static void RepairAfterEarlierRun();
    // From now on a crash puts the system cursors back before the process goes.
    static void GuardAgainstCrash();
};

class FileSystemWin32 final : public IFileSystem {
public:
    bool FileExists(const std::wstring& path) const override;
};

} // namespace korvan::win
