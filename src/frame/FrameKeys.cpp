#include "frame/FrameKeys.h"

namespace korvan {
namespace {

constexpr uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kF5 = 0x74;

enum Slot : int {
    Alt_right, alt_left, alt_up, alt_down, pright, pleft, pup, pdown,
    ctrl_right, ctrl_left, ctrl_up, ctrl_down, shift_right, shift_left, shift_up, shift_down,
};

constexpr const char* kNames[FrameKeys::kCount] = {
    "Alt_right", "alt_left", "alt_up", "alt_down", "pright", "pleft", "pup", "pdown",
    "ctrl_right", "ctrl_left", "ctrl_up", "ctrl_down", "shift_right", "shift_left", "shift_up", "shift_down"};

// Which component each option field HotKey1 .. HotKey16 feeds.
constexpr Slot kFieldSlot[FrameKeys::kCount] = {
    pleft, pright, pup, pdown, alt_left, Alt_right, alt_up, alt_down,
    ctrl_left, ctrl_right, ctrl_up, ctrl_down, shift_left, shift_right, shift_up, shift_down};

} // namespace

const FrameKeyCombinations kDefaultFrameKeys = {
    kLeft, kRight, kUp, kDown,
    uint16_t(kHotKeyAlt | kLeft), uint16_t(kHotKeyAlt | kRight), uint16_t(kHotKeyAlt | kUp), uint16_t(kHotKeyAlt | kDown),
    uint16_t(kHotKeyCtrl | kLeft), uint16_t(kHotKeyCtrl | kRight), uint16_t(kHotKeyCtrl | kUp), uint16_t(kHotKeyCtrl | kDown),
    uint16_t(kHotKeyShift | kLeft), uint16_t(kHotKeyShift | kRight), uint16_t(kHotKeyShift | kUp), uint16_t(kHotKeyShift | kDown)};

FrameKeys::FrameKeys(IHotKeySystem& system, IFrameGeometry& frame, HotKeyConflicts* conflicts)
    : frame_(frame) {
    for (int i = 0; i < kCount; ++i)
        keys_[static_cast<size_t>(i)] = std::make_unique<GlobalHotKey>(system, kNames[i], conflicts);
    toggle_ = std::make_unique<GlobalHotKey>(system, "av_shortcuts", conflicts);
    Bind(pright, 5, 0, 0, 0);
    Bind(pleft, -5, 0, 0, 0);
    Bind(pup, 0, -5, 0, 0);
    Bind(pdown, 0, 5, 0, 0);
    Bind(Alt_right, 1, 0, 0, 0);
    Bind(alt_left, -1, 0, 0, 0);
    Bind(alt_up, 0, -1, 0, 0);
    Bind(alt_down, 0, 1, 0, 0);
    Bind(ctrl_right, 0, 0, 5, 0);
    Bind(ctrl_left, 0, 0, -5, 0);
    Bind(ctrl_up, 0, 0, 0, -5);
    Bind(ctrl_down, 0, 0, 0, 5);
    Bind(shift_right, 0, 0, 1, 0);
    Bind(shift_left, 0, 0, -1, 0);
    Bind(shift_up, 0, 0, 0, -1);
    Bind(shift_down, 0, 0, 0, 1);
    toggle_->SetOnKeyDown([this](GlobalHotKey&, uint16_t, ShiftState) { TogglePressed(); });
    // The frame's defaults: every key active with its designed combination. Whether the
    // keys stay on is decided right after, by the stored settings: a key switched off
    // before the conflicts are told is not told.
    Assign(kDefaultFrameKeys);
    toggle_->SetHotKey(static_cast<uint16_t>(kHotKeyAlt | kF5));
}

void FrameKeys::Bind(int slot, int dx, int dy, int dw, int dh) {
    // The handlers ignore the key and shift the component passes along.
    keys_[static_cast<size_t>(slot)]->SetOnKeyDown([this, dx, dy, dw, dh](GlobalHotKey&, uint16_t, ShiftState) {
        if (dx) frame_.SetLeft(frame_.Left() + dx);
        if (dy) frame_.SetTop(frame_.Top() + dy);
        if (dw) frame_.SetWidth(frame_.Width() + dw);
        if (dh) frame_.SetHeight(frame_.Height() + dh);
    });
}

void FrameKeys::SwitchOn() {
    for (auto& key : keys_) key->SetActive(true);
}

void FrameKeys::SwitchOff() {
    for (auto& key : keys_) key->SetActive(false);
}

void FrameKeys::Assign(const FrameKeyCombinations& fields) {
    for (int field = 0; field < kCount; ++field) keys_[static_cast<size_t>(kFieldSlot[field])]->SetHotKey(fields[static_cast<size_t>(field)]);
}

void FrameKeys::TogglePressed() {
    if (flag_) {
        SwitchOff();
        flag_ = false;
    } else {
        SwitchOn();
        flag_ = true;
    }
}

} // namespace korvan
