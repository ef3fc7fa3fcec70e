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
// Arrows move by 5 pixels, Alt+arrows by 1; Ctrl+arrows resize by 5, Shift+arrows by 1.
extern const FrameKeyCombinations kDefaultFrameKeys;

class FrameKeys {
public:
    FrameKeys(IHotKeySystem& system, IFrameGeometry& frame, HotKeyConflicts* conflicts = nullptr);

    static constexpr int kCount = 16;

    // Switching goes through the sixteen in a fixed order (slow move, fast move, fast
    // resize, slow resize; each right, left, up, down), never through the toggle key.
    void SwitchOn();
    void SwitchOff();
    // Sets each key from its option field, in the order of the fields.
    void Assign(const FrameKeyCombinations& fields);
    // Alt+F5: switches the block by the toggle's own state, which other switching leaves
    // alone, so the two can run out of step.
    void TogglePressed();

    bool ToggledOn() const { return toggledOn_; }
    void SetToggledOn(bool value) { toggledOn_ = value; }

private:
    void Bind(int slot, int dx, int dy, int dw, int dh);

    IFrameGeometry& frame_;
    std::array<std::unique_ptr<GlobalHotKey>, kCount> keys_;
    std::unique_ptr<GlobalHotKey> toggle_;
    bool toggledOn_ = true;
};

} // namespace korvan
