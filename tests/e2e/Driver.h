#pragma once
// Drives the real program as a user would: starts it, finds its windows, clicks its
// toolbar buttons with the mouse, and reads back the clipboard, the screen and files.
#include "app/ToolbarLayout.h"
#include "imaging/Bitmap.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace korvan::e2e {

inline int Id(Command command) { return static_cast<int>(command); }

inline RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Polls until the condition holds or the time runs out; answers the last result.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Returns once the window's thread has handled every message sent to it before.
void Settle(HWND window);

class Program {
public:
    // Starts the program the environment variable names (KORVAN_EXE: the program itself)
    // and waits for its main window.
    explicit Program(const wchar_t* exeVariable = L"KORVAN_EXE");
    ~Program();  // ends it, politely first
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND MainWindow() const { return main_; }
    HWND ToolBar() const;
    HWND FindForm(const wchar_t* className) const;
    RECT ButtonRect(int commandId) const;  // screen coordinates
    // A rectangle a control of the program writes for message (TCM_GETITEMRECT, ...),
    // in screen coordinates.
    RECT ItemRect(HWND control, UINT message, WPARAM index) const;
    void ClickButton(int commandId);
    // Makes the program the active application and waits until it has handled that
    // (its frame keys then work).
    void Activate();
    // Raises the main window, presses the desktop button and waits for the preview and
    // the main window's return; answers the preview window, or nullptr when that failed.
    // Clicks the frame button; the grabber frame once it shows, null when it does not.
    HWND ShowFrame();
    HWND CaptureDesktop();
    bool Running() const;
    DWORD ProcessId() const { return process_.dwProcessId; }
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// Starts the program once more, as a user starting it a second time would, and waits
// until that process ends; answers its exit code, or nothing when it did not end in time.
std::optional<DWORD> StartAgainAndWait(std::chrono::milliseconds timeout = std::chrono::seconds(20));
// How many processes run the program's file.
int ProgramProcessCount();

// The union of all monitors; its origin is negative with a monitor left of the primary one.
RECT VirtualScreen();
bool OnAnyMonitor(int x, int y);

// A window of our own over the whole virtual screen, painted with a known pattern, to capture.
class PatternWindow {
public:
    PatternWindow();
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    // The colour the pattern has at screen pixel (x, y).
    static imaging::Rgb ExpectedAt(int x, int y);
    // What a grab shows at screen pixel (x, y): the pattern, or black where no monitor shows.
    static imaging::Rgb SeenAt(int x, int y);
    HWND Hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// Clicks at a screen point; each step waits until the system has taken it.
void ClickAt(int x, int y);
// Moves the pointer to a screen point and waits until it stays there.
void MovePointerTo(int x, int y);
// A pointer event at that point of the virtual screen, with the given button flags (none
// for a move): the position travels with the button, as a real mouse sends it.
INPUT PointerEventAt(int x, int y, DWORD buttonFlags = 0);
// Moves the pointer into the bottom right corner, so no hint covers a window's picture.
void MovePointerAway();
void ClickAt(int x, int y, DWORD downFlag, DWORD upFlag);
// Presses a key with modifiers (VK_CONTROL, VK_MENU, VK_SHIFT) held, as a keyboard would.
void PressKey(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// Whether another program holds the system-wide key (it cannot be registered here).
bool KeyTaken(UINT modifiers, UINT virtualKey);
// Makes one of our own windows the foreground window, so the program is not active, and
// waits until the program has handled its deactivation.
void ActivateDriver();

// The current user's registry, as the program sees it (same Wine prefix).
std::optional<DWORD> ReadDword(const wchar_t* key, const wchar_t* name);
std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name);
bool KeyExists(const wchar_t* key);
void WriteDword(const wchar_t* key, const wchar_t* name, DWORD value);
void WriteString(const wchar_t* key, const wchar_t* name, const std::wstring& value);
void DeleteValue(const wchar_t* key, const wchar_t* name);
// Top-level message box of the process whose text contains the given part, if shown.
HWND FindMessageBox(DWORD processId, const std::wstring& part, std::wstring* text = nullptr);
void PumpMessages(std::chrono::milliseconds duration);

// The clipboard's device-independent bitmap, converted to 24 bits, if there is one.
std::optional<imaging::Bitmap> ClipboardImage();
// Whether the clipboard also offers the image as PNG.
bool ClipboardHasPng();
// Screen pixels of a window (frame included), as a user sees them.
imaging::Bitmap GrabWindow(HWND window);
// The window's picture once painting has finished (two grabs in a row agree).
imaging::Bitmap SteadyPicture(HWND window);
imaging::Bitmap GrabScreen(int left, int top, int width, int height);
// Saves a picture of a window as PNG (or BMP) under the artifacts folder for people to look at.
void SaveArtifact(HWND window, const std::string& name);

std::wstring Env(const wchar_t* name);

// A window's text as WM_GETTEXT gives it, whole; also for another program's controls.
std::wstring WindowText(HWND window);
// Every control below the window, at any depth, in the system's order.
std::vector<HWND> Descendants(HWND parent);
// The first control below the window, at any depth, that shows exactly that text; null when none does.
HWND ChildWithText(HWND parent, const std::wstring& text);
std::wstring ClassOf(HWND window);
// The hint the program shows under the pointer, if any.
HWND ShownHint(DWORD processId);

} // namespace korvan::e2e
