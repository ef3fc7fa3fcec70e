#include "capture/win32/PickHelperWin32.h"

#include <commctrl.h>

namespace korvan::win {
namespace {

// Hooks carry no context: the one armed helper of the process.
PickHelperWin32* g_listening = nullptr;

UINT ReleaseOf(WPARAM press) {
    switch (press) {
    case WM_LBUTTONDOWN: return WM_LBUTTONUP;
    case WM_RBUTTONDOWN: return WM_RBUTTONUP;
    case WM_MBUTTONDOWN: return WM_MBUTTONUP;
    case WM_XBUTTONDOWN: return WM_XBUTTONUP;
    default: return 0;
    }
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

void PickHelperWin32::SetCapture() {
    ::SetCapture(helper_);
    g_listening = this;
    listening_ = true;
    releaseToSwallow_ = 0;
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    if (!mouseHook_) mouseHook_ = ::SetWindowsHookExW(WH_MOUSE_LL, MouseHook, module, 0);
    if (!keyboardHook_) keyboardHook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, module, 0);
}

void PickHelperWin32::CancelPick() {
    listening_ = false;
    StopListening();
}

void PickHelperWin32::StopListening() {
    if (mouseHook_) ::UnhookWindowsHookEx(mouseHook_);
    if (keyboardHook_) ::UnhookWindowsHookEx(keyboardHook_);
    mouseHook_ = keyboardHook_ = nullptr;
    releaseToSwallow_ = 0;
    if (g_listening == this) g_listening = nullptr;
    // The helper's capture ends with the pick, so the program's own windows get their
    // clicks again.
    if (::GetCapture() == helper_) ::ReleaseCapture();
}

bool PickHelperWin32::OnPress() {
    if (!listening_) return false;
    listening_ = false;
    ::PostMessageW(notify_, pressed_, 0, 0);
    return true;
}

LRESULT CALLBACK PickHelperWin32::MouseHook(int code, WPARAM message, LPARAM data) {
    PickHelperWin32* self = g_listening;
    if (code == HC_ACTION && self) {
        if (UINT release = ReleaseOf(message)) {
            if (self->OnPress()) {
                self->releaseToSwallow_ = release;
                return 1;
            }
            // A new press: the release of the pick's press passed while we were busy.
            self->StopListening();
        } else if (self->releaseToSwallow_ != 0 && message == self->releaseToSwallow_) {
            self->StopListening();
            return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK PickHelperWin32::KeyboardHook(int code, WPARAM message, LPARAM data) {
    PickHelperWin32* self = g_listening;
    if (code == HC_ACTION && self && self->listening_ && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
        reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode == VK_ESCAPE) {
        self->listening_ = false;
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
    if (ReleaseOf(message) != 0 && self->OnPress()) {
        self->StopListening();
        return 0;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace korvan::win
