#pragma once
// The hidden helper button of the window pick. Its mouse capture alone does not hear a
// press over another program's window or the empty desktop, so while the pick is armed a
// low-level mouse hook listens too: the first press of any button anywhere ends the pick
// and is kept from the window beneath (its release is not). Escape calls the pick off.
// Both hooks are set at each arm and removed at the press, the Escape or the call-off.
#include "capture/CapturePorts.h"

#include <windows.h>

namespace korvan::win {

class PickHelperWin32 final : public IPickHelper {
public:
    // helper: the hidden button; notify receives `pressed` for the press that ends the pick
    // and `cancelled` when the user called it off.
    PickHelperWin32(HWND helper, HWND notify, UINT pressed, UINT cancelled);
    ~PickHelperWin32() override;
    PickHelperWin32(const PickHelperWin32&) = delete;
    PickHelperWin32& operator=(const PickHelperWin32&) = delete;

    void SetCapture() override;
    void StopListening() override;

private:
    static LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data);
    static LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data);
    static LRESULT CALLBACK HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self);
    // Answers true when the press ended the pick (and so belongs to us).
    bool OnPress();

    HWND helper_, notify_;
    UINT pressed_, cancelled_;
    HHOOK mouseHook_ = nullptr, keyboardHook_ = nullptr;
    bool listening_ = false;
};

} // namespace korvan::win
