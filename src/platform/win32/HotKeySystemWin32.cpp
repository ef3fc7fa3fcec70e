#include "platform/win32/HotKeySystemWin32.h"

#include "platform/win32/WindowBase.h"

namespace korvan::win {
namespace {

constexpr wchar_t kClassName[] = L"TGlobalHotKeyWindow";

// The hidden window of one hot key component.
class HotKeyReceiver final : public WindowBase<HotKeyReceiver> {
public:
    explicit HotKeyReceiver(std::function<void()> onHotKey) : onHotKey_(std::move(onHotKey)) {
        RegisterClassOnce(kClassName, 0, nullptr, nullptr);
        CreateWindowOf(kClassName, WS_EX_TOOLWINDOW, WS_POPUP, L"", 0, 0, 0, 0);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_HOTKEY) {
            // Never passed on, whether or not anybody listens.
            if (onHotKey_) onHotKey_();
            return 0;
        }
        return Default(message, wParam, lParam);
    }

private:
    std::function<void()> onHotKey_;
};

HWND AsHwnd(HotKeyWindow window) {
    return window ? reinterpret_cast<HotKeyReceiver*>(window)->Hwnd() : nullptr;
}

} // namespace

uint16_t HotKeySystemWin32::AddGlobalAtom(const std::string& text) { return ::GlobalAddAtomA(text.c_str()); }

void HotKeySystemWin32::DeleteGlobalAtom(uint16_t atom) { ::GlobalDeleteAtom(atom); }

HotKeyWindow HotKeySystemWin32::CreateHotKeyWindow(std::function<void()> onHotKey) {
    return reinterpret_cast<HotKeyWindow>(new HotKeyReceiver(std::move(onHotKey)));
}

void HotKeySystemWin32::DestroyHotKeyWindow(HotKeyWindow window) { delete reinterpret_cast<HotKeyReceiver*>(window); }

bool HotKeySystemWin32::RegisterHotKey(HotKeyWindow window, int id, unsigned modifiers, unsigned virtualKey) {
    return ::RegisterHotKey(AsHwnd(window), id, modifiers, virtualKey) != FALSE;
}

void HotKeySystemWin32::UnregisterHotKey(HotKeyWindow window, int id) { ::UnregisterHotKey(AsHwnd(window), id); }

} // namespace korvan::win
