#pragma once
#include "platform/GlobalHotKey.h"

namespace korvan::win {

// Global atoms, hidden windows that receive WM_HOTKEY, and the registration calls.
class HotKeySystemWin32 final : public IHotKeySystem {
public:
    uint16_t AddGlobalAtom(const std::string& text) override;
    void DeleteGlobalAtom(uint16_t atom) override;
    HotKeyWindow CreateHotKeyWindow(std::function<void()> onHotKey) override;
    void DestroyHotKeyWindow(HotKeyWindow window) override;
    bool RegisterHotKey(HotKeyWindow window, int id, unsigned modifiers, unsigned virtualKey) override;
    void UnregisterHotKey(HotKeyWindow window, int id) override;
};

} // namespace korvan::win
