#include "capture/win32/PickHelperWin32.h"

#include <commctrl.h>

namespace korvan::win {
namespace {

// Hooks carry no context: the one armed helper of the process.
PickHelperWin32* g_listening = nullptr;

bool IsPress(WPARAM message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

} // namespace

PickHelperWin32::PickHelperWin32(HWND helper, HWND notify, UINT pressed, UINT cancelled)
    : helper_(helper), notify_(notify), pressed_(pressed), cancelled_(cancelled) {
    ::SetWindowSubclass(helper_, HelperProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

PickHelperWin32::~PickHelperWin32() {
    StopListening();
    ::RemoveWindowSubclass(helper_, HelperProc, 1);
}

// The hooks are set afresh at every arm: the system silently drops a hook that once did
// not answer in time, and a handle kept from an earlier pick would then name nothing.
void PickHelperWin32::SetCapture() {
    StopListening();
    ::SetCapture(helper_);
    g_listening = this;
    listening_ = true;
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    mouseHook_ = ::SetWindowsHookExW(WH_MOUSE_LL, MouseHook, module, 0);
    keyboardHook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, module, 0);
}

void PickHelperWin32::StopListening() {
    listening_ = false;
    if (mouseHook_) ::UnhookWindowsHookEx(mouseHook_);
    if (keyboardHook_) ::UnhookWindowsHookEx(keyboardHook_);
    mouseHook_ = keyboardHook_ = nullptr;
    if (g_listening == this) g_listening = nullptr;
    // The helper's capture ends with the pick, so the program's own windows get their
    // clicks again.
    if (::GetCapture() == helper_) ::ReleaseCapture();
}

// The hooks go at the press itself: the capture that follows takes longer than a hook may
// keep the system waiting. The press's release then passes on like any other.
bool PickHelperWin32::OnPress() {
    if (!listening_) return false;
    StopListening();
    ::PostMessageW(notify_, pressed_, 0, 0);
    return true;
}

LRESULT CALLBACK PickHelperWin32::MouseHook(int code, WPARAM message, LPARAM data) {
    PickHelperWin32* self = g_listening;
    if (code == HC_ACTION && self && IsPress(message) && self->OnPress()) return 1;  // kept from the window beneath
    return ::CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK PickHelperWin32::KeyboardHook(int code, WPARAM message, LPARAM data) {
    PickHelperWin32* self = g_listening;
    if (code == HC_ACTION && self && self->listening_ && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
        reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode == VK_ESCAPE) {
        self->StopListening();
        ::PostMessageW(self->notify_, self->cancelled_, 0, 0);
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, message, data);
}

// Without the hook (it could not be set) the helper's own capture still brings the press.
LRESULT CALLBACK PickHelperWin32::HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) {
    auto* self = reinterpret_cast<PickHelperWin32*>(data);
    if (IsPress(message) && self->OnPress()) return 0;
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace korvan::win
