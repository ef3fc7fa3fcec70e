#include "frame/FrameKeys.h"

namespace korvan {
namespace {

constexpr uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kF5 = 0x74;

// The keys in switching order; each moves or resizes the frame by one step.
enum Slot : int {
    kSlowRight, kSlowLeft, kSlowUp, kSlowDown, kFastRight, kFastLeft, kFastUp, kFastDown,
    kFastWider, kFastNarrower, kFastShorter, kFastTaller, kSlowWider, kSlowNarrower, kSlowShorter, kSlowTaller,
};

// Which key each option field HotKey1 .. HotKey16 feeds.
constexpr Slot kFieldSlot[FrameKeys::kCount] = {
    kFastLeft, kFastRight, kFastUp, kFastDown, kSlowLeft, kSlowRight, kSlowUp, kSlowDown,
    kFastNarrower, kFastWider, kFastShorter, kFastTaller, kSlowNarrower, kSlowWider, kSlowShorter, kSlowTaller};

constexpr int kFast = 5, kSlow = 1;

} // namespace

const FrameKeyCombinations kDefaultFrameKeys = {
    kLeft, kRight, kUp, kDown,
    uint16_t(kHotKeyAlt | kLeft), uint16_t(kHotKeyAlt | kRight), uint16_t(kHotKeyAlt | kUp), uint16_t(kHotKeyAlt | kDown),
    uint16_t(kHotKeyCtrl | kLeft), uint16_t(kHotKeyCtrl | kRight), uint16_t(kHotKeyCtrl | kUp), uint16_t(kHotKeyCtrl | kDown),
    uint16_t(kHotKeyShift | kLeft), uint16_t(kHotKeyShift | kRight), uint16_t(kHotKeyShift | kUp), uint16_t(kHotKeyShift | kDown)};

FrameKeys::FrameKeys(IHotKeySystem& system, IFrameGeometry& frame, HotKeyConflicts* conflicts)
    : frame_(frame) {
    for (auto& key : keys_) key = std::make_unique<GlobalHotKey>(system, conflicts);
    toggle_ = std::make_unique<GlobalHotKey>(system, conflicts);
    Bind(kFastRight, kFast, 0, 0, 0);
    Bind(kFastLeft, -kFast, 0, 0, 0);
    Bind(kFastUp, 0, -kFast, 0, 0);
    Bind(kFastDown, 0, kFast, 0, 0);
    Bind(kSlowRight, kSlow, 0, 0, 0);
    Bind(kSlowLeft, -kSlow, 0, 0, 0);
    Bind(kSlowUp, 0, -kSlow, 0, 0);
    Bind(kSlowDown, 0, kSlow, 0, 0);
    Bind(kFastWider, 0, 0, kFast, 0);
    Bind(kFastNarrower, 0, 0, -kFast, 0);
    Bind(kFastShorter, 0, 0, 0, -kFast);
    Bind(kFastTaller, 0, 0, 0, kFast);
    Bind(kSlowWider, 0, 0, kSlow, 0);
    Bind(kSlowNarrower, 0, 0, -kSlow, 0);
    Bind(kSlowShorter, 0, 0, 0, -kSlow);
    Bind(kSlowTaller, 0, 0, 0, kSlow);
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
    if (toggledOn_) SwitchOff();
    else SwitchOn();
    toggledOn_ = !toggledOn_;
}

} // namespace korvan
