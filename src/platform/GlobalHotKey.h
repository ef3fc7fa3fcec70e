#pragma once
// A system-wide hot key: registers one key combination while active and reports each
// press as OnKeyDown, whichever application has the keyboard focus.
#include "platform/HotKeyValue.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
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

class GlobalHotKey;

// Collects the combinations that could not be registered while their component was to
// be active, and tells the user once per run and combination. A failure is only told
// if the component still wants it when the report runs: the frame's keys start active
// and are switched off right after when they are not enabled, which is no conflict.
class HotKeyConflicts {
public:
    // show tells the user; schedule arranges one call of Report once the work at hand is
    // done, so all failures of one start-up or one OK step come in the same notice.
    explicit HotKeyConflicts(std::function<void(const std::string&)> show, std::function<void()> schedule = {})
        : show_(std::move(show)), schedule_(std::move(schedule)) {}
    // The component could not register value.
    void Failed(const GlobalHotKey& component, uint16_t value);
    // The component holds its registration again, or no longer wants one.
    void Cleared(const GlobalHotKey& component);
    // Shows the combinations still failing that were not told before, in one message.
    void Report();

private:
    std::function<void(const std::string&)> show_;
    std::function<void()> schedule_;
    bool scheduled_ = false;
    std::vector<std::pair<const GlobalHotKey*, uint16_t>> pending_;  // in the order they failed
    std::set<uint16_t> reported_;
};

class GlobalHotKey {
public:
    using KeyDownHandler = std::function<void(GlobalHotKey& sender, uint16_t key, ShiftState shift)>;

    explicit GlobalHotKey(IHotKeySystem& system, HotKeyConflicts* conflicts = nullptr);
    ~GlobalHotKey();
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool value);
    uint16_t HotKey() const { return hotKey_; }
    void SetHotKey(uint16_t value);
    void SetOnKeyDown(KeyDownHandler handler) { onKeyDown_ = std::move(handler); }

    // The hot key message arrived on the hidden window.
    void HotKeyPressed();

private:
    void Register(uint16_t value);
    void Withdraw();

    IHotKeySystem& system_;
    HotKeyConflicts* conflicts_;
    bool active_ = true;
    uint16_t id_ = 0;
    uint16_t hotKey_ = 0;
    bool registered_ = false;
    HotKeyWindow window_ = 0;
    KeyDownHandler onKeyDown_;
};

} // namespace korvan
