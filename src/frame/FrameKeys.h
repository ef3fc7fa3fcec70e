#pragma once
// The grabber frame's keyboard control: sixteen system-wide keys that move and resize
// the frame, switched as one block, and a seventeenth that toggles them.
#include "platform/GlobalHotKey.h"

#include <array>
#include <memory>

namespace korvan {

// The frame window as the keys move and resize it (screen position, outer size).
class IFrameGeometry {
public:
    virtual ~IFrameGeometry() = default;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetLeft(int value) = 0;
    virtual void SetTop(int value) = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
};

// The sixteen combinations in the order of the option fields HotKey1 to HotKey16:
// fast move, slow move, fast resize, slow resize; each left, right, up, down.
using FrameKeyCombinations = std::array<uint16_t, 16>;
extern const FrameKeyCombinations kDefaultFrameKeys;

class FrameKeys {
public:
    FrameKeys(IHotKeySystem& system, IFrameGeometry& frame, HotKeyConflicts* conflicts = nullptr);

    // The sixteen in switching order: Alt_right, alt_left, alt_up, alt_down, pright,
    // pleft, pup, pdown, ctrl_right, ctrl_left, ctrl_up, ctrl_down, shift_right,
    // shift_left, shift_up, shift_down.
    static constexpr int kCount = 16;
    GlobalHotKey& Key(int switchingIndex) { return *keys_[static_cast<size_t>(switchingIndex)]; }
    GlobalHotKey& Toggle() { return *toggle_; }

    void SwitchOn();
    void SwitchOff();
    // Sets each key from its option field, in the order of the fields.
    void Assign(const FrameKeyCombinations& fields);
    // Alt+F5: switches the block by the process-wide flag, which other switching leaves alone.
    void TogglePressed();

    bool Flag() const { return flag_; }
    void SetFlag(bool value) { flag_ = value; }

private:
    void Bind(int switchingIndex, int dx, int dy, int dw, int dh);

    IFrameGeometry& frame_;
    std::array<std::unique_ptr<GlobalHotKey>, kCount> keys_;
    std::unique_ptr<GlobalHotKey> toggle_;
    bool flag_ = true;
};

} // namespace korvan
