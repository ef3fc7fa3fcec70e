#pragma once
// A recording hot key system: atoms, hidden windows, registrations. Combinations listed
// in taken fail to register, as when another program holds them.
#include "platform/GlobalHotKey.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvan::test {

class FakeHotKeySystem final : public IHotKeySystem {
public:
    uint16_t AddGlobalAtom(const std::string& text) override {
        atoms.insert(text);
        calls.push_back("AddAtom");
        return static_cast<uint16_t>(0xC000 + nextAtom_++);
    }
    void DeleteGlobalAtom(uint16_t atom) override { calls.push_back("DeleteAtom(" + std::to_string(atom) + ")"); }
    HotKeyWindow CreateHotKeyWindow(std::function<void()> onHotKey) override {
        HotKeyWindow window = ++nextWindow_;
        windows[window] = std::move(onHotKey);
        return window;
    }
    void DestroyHotKeyWindow(HotKeyWindow window) override { windows.erase(window); }
    bool RegisterHotKey(HotKeyWindow window, int id, unsigned modifiers, unsigned virtualKey) override {
        calls.push_back("Register(" + std::to_string(id) + "," + std::to_string(modifiers) + "," +
                        std::to_string(virtualKey) + ")");
        unsigned combination = modifiers << 16 | virtualKey;
        if (taken.count(combination)) return false;
        registered[window] = combination;
        return true;
    }
    void UnregisterHotKey(HotKeyWindow window, int id) override {
        calls.push_back("Unregister(" + std::to_string(id) + ")");
        registered.erase(window);
    }

    // Presses a combination: the window that holds it gets its hot key message.
    bool Press(unsigned modifiers, unsigned virtualKey) {
        for (auto& [window, combination] : registered)
            if (combination == (modifiers << 16 | virtualKey)) {
                windows[window]();
                return true;
            }
        return false;
    }
    std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }
    // Whether some hot key window holds the combination now.
    bool Holds(unsigned modifiers, unsigned virtualKey) const {
        for (const auto& entry : registered)
            if (entry.second == (modifiers << 16 | virtualKey)) return true;
        return false;
    }

    std::vector<std::string> calls;
    std::set<std::string> atoms;
    std::map<HotKeyWindow, std::function<void()>> windows;
    std::map<HotKeyWindow, unsigned> registered;
    std::set<unsigned> taken;

private:
    int nextAtom_ = 0;
    HotKeyWindow nextWindow_ = 0;
};

} // namespace korvan::test
