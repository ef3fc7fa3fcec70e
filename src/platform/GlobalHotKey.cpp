#include "platform/GlobalHotKey.h"

namespace korvan {

void HotKeyConflicts::Failed(const GlobalHotKey& component, uint16_t value) {
    Cleared(component);
    pending_.emplace_back(&component, value);
    if (scheduled_ || !schedule_) return;
    scheduled_ = true;
    schedule_();
}

void HotKeyConflicts::Cleared(const GlobalHotKey& component) {
    std::erase_if(pending_, [&](const auto& entry) { return entry.first == &component; });
}

void HotKeyConflicts::Report() {
    scheduled_ = false;
    std::vector<uint16_t> fresh;
    for (const auto& entry : pending_)
        if (reported_.insert(entry.second).second) fresh.push_back(entry.second);
    pending_.clear();
    if (fresh.empty() || !show_) return;
    std::string message = fresh.size() == 1 ? "This key could not be registered because another program already uses it:\n"
                                            : "These keys could not be registered because another program already uses them:\n";
    for (uint16_t value : fresh) message += "\n    " + HotKeyText(value);
    message += "\n\nClose the other program, or choose other frame keys in the options.";
    show_(message);
}

GlobalHotKey::GlobalHotKey(IHotKeySystem& system, HotKeyConflicts* conflicts) : system_(system), conflicts_(conflicts) {
    // The instance's address, as decimal text, is unique while the instance lives.
    id_ = system_.AddGlobalAtom(std::to_string(reinterpret_cast<uintptr_t>(this)));
    window_ = system_.CreateHotKeyWindow([this] { HotKeyPressed(); });
}

GlobalHotKey::~GlobalHotKey() {
    SetHotKey(0);
    system_.DeleteGlobalAtom(id_);
    system_.DestroyHotKeyWindow(window_);
}

void GlobalHotKey::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (hotKey_ == 0) return;
    if (value) Register(hotKey_);
    else Withdraw();
}

void GlobalHotKey::SetHotKey(uint16_t value) {
    if (value == hotKey_) return;
    if (active_) {
        if (value != 0) Register(value);
        else Withdraw();
    }
    hotKey_ = value;
}

void GlobalHotKey::Register(uint16_t value) {
    // One id holds one combination: the earlier registration goes first.
    if (registered_) system_.UnregisterHotKey(window_, id_);
    registered_ = system_.RegisterHotKey(window_, id_, HotKeyModifiers(value), HotKeyCode(value));
    if (!conflicts_) return;
    if (registered_) conflicts_->Cleared(*this);
    else conflicts_->Failed(*this, value);
}

void GlobalHotKey::Withdraw() {
    system_.UnregisterHotKey(window_, id_);
    registered_ = false;
    if (conflicts_) conflicts_->Cleared(*this);
}

void GlobalHotKey::HotKeyPressed() {
    if (!onKeyDown_) return;
    onKeyDown_(*this, static_cast<uint16_t>(HotKeyCode(hotKey_)), HotKeyShift(hotKey_));
}

} // namespace korvan
