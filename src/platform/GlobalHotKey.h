#pragma once
// A system-wide hot key: registers one key combination while active and reports each
// press as OnKeyDown, whichever application has the keyboard focus.
#include "platform/HotKeyValue.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace korvan {

using HotKeyWindow = uintptr_t;

// What the hot key component needs from the system.
class IHotKeySystem {
public:
    virtual ~IHotKeySystem() = default;
    virtual uint16_t AddGlobalAtom(const std::string& text) = 0;
    virtual void DeleteGlobalAtom(uint16_t atom) = 0;
    // A hidden window that calls onHotKey for each hot key message and never passes it on.
    virtual HotKeyWindow CreateHotKeyWindow(std::function<void()> onHotKey) = 0;
    virtual void DestroyHotKeyWindow(HotKeyWindow window) = 0;
    // Answers false when the combination could not be registered (another program holds it).
    virtual bool RegisterHotKey(HotKeyWindow window, int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual void UnregisterHotKey(HotKeyWindow window, int id) = 0;
};

// Collects combinations that could not be registered and tells the user once per run
// and per combination, in one message per batch of registrations.
class HotKeyConflicts {
public:
    explicit HotKeyConflicts(std::function<void(const std::string&)> show) : show_(std::move(show)) {}
    void Failed(uint16_t value) { pending_.insert(value); }
    // Shows the combinations that failed since the last report and were not reported before.
    void Report();

private:
    std::function<void(const std::string&)> show_;
    std::set<uint16_t> pending_;
    std::set<uint16_t> reported_;
};

class TGlobalHotKey {
public:
    using KeyDownHandler = std::function<void(TGlobalHotKey& sender, uint16_t key, ShiftState shift)>;

    TGlobalHotKey(IHotKeySystem& system, std::string name, HotKeyConflicts* conflicts = nullptr);
    ~TGlobalHotKey();
    TGlobalHotKey(const TGlobalHotKey&) = delete;
    TGlobalHotKey& operator=(const TGlobalHotKey&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool value);
    uint16_t HotKey() const { return hotKey_; }
    void SetHotKey(uint16_t value);
    const std::string& Name() const { return name_; }
    void SetOnKeyDown(KeyDownHandler handler) { onKeyDown_ = std::move(handler); }
    // Where failed registrations are reported from now on (none: not reported).
    void SetConflicts(HotKeyConflicts* conflicts) { conflicts_ = conflicts; }

    // The hot key message arrived on the hidden window.
    void HotKeyPressed();

private:
    void Register(uint16_t value);
    void Withdraw();

    IHotKeySystem& system_;
    std::string name_;
    HotKeyConflicts* conflicts_;
    bool active_ = true;
    uint16_t id_ = 0;
    uint16_t hotKey_ = 0;
    bool registered_ = false;
    HotKeyWindow window_ = 0;
    KeyDownHandler onKeyDown_;
};

} // namespace korvan
