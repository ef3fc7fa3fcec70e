#include "platform/GlobalHotKey.h"

namespace korvan {

void HotKeyConflicts::Report() {
    std::vector<uint16_t> fresh;
    for (uint16_t value : pending_)
        if (reported_.insert(value).second) fresh.push_back(value);
    pending_.clear();
    if (fresh.empty() || !show_) return;
    std::string message = fresh.size() == 1 ? "This key could not be registered because another program already uses it:\n"
                                            : "These keys could not be registered because another program already uses them:\n";
    for (uint16_t value : fresh) message += "\n    " + HotKeyText(value);
    message += "\n\nClose the other program, or choose other frame keys in the options.";
    show_(message);
}

TGlobalHotKey::TGlobalHotKey(IHotKeySystem& system, std::string name, HotKeyConflicts* conflicts)
    : system_(system), name_(std::move(name)), conflicts_(conflicts) {
    // The instance's address, as decimal text, is unique while the instance lives.
    id_ = system_.AddGlobalAtom(std::to_string(reinterpret_cast<uintptr_t>(this)));
    window_ = system_.CreateHotKeyWindow([this] { HotKeyPressed(); });
}

TGlobalHotKey::~TGlobalHotKey() {
    SetHotKey(0);
    system_.DeleteGlobalAtom(id_);
    system_.DestroyHotKeyWindow(window_);
}

void TGlobalHotKey::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (hotKey_ == 0) return;
    if (value) Register(hotKey_);
    else Withdraw();
}

void TGlobalHotKey::SetHotKey(uint16_t value) {
    if (value == hotKey_) return;
    if (active_) {
        if (value != 0) Register(value);
        else Withdraw();
    }
    hotKey_ = value;
}

void TGlobalHotKey::Register(uint16_t value) {
    // One id holds one combination: the earlier registration goes first.
    if (registered_) system_.UnregisterHotKey(window_, id_);
    registered_ = system_.RegisterHotKey(window_, id_, HotKeyModifiers(value), HotKeyCode(value));
    if (!registered_ && conflicts_) conflicts_->Failed(value);
}

void TGlobalHotKey::Withdraw() {
    system_.UnregisterHotKey(window_, id_);
    registered_ = false;
}

void TGlobalHotKey::HotKeyPressed() {
    if (!onKeyDown_) return;
    onKeyDown_(*this, static_cast<uint16_t>(HotKeyCode(hotKey_)), HotKeyShift(hotKey_));
}

} // namespace korvan
