#include "capture/TargetPaste.h"

#include <algorithm>

namespace korvan {
namespace {

bool InFront(IWindowSystem& system, WindowHandle target, int waitMs) {
    return system.Responds(target, waitMs) && system.ForegroundRootOwner() == target && system.IsEnabled(target);
}

// Keys of the right-hand block and the Windows keys are extended keys.
bool IsExtendedKey(int virtualKey) {
    return virtualKey == kVkRightControl || virtualKey == kVkRightAlt || virtualKey == kVkLeftWin ||
           virtualKey == kVkRightWin;
}

KeyStroke Stroke(IKeyboard& keyboard, int virtualKey, int flags) {
    return {virtualKey, keyboard.ScanCodeOf(virtualKey), flags | (IsExtendedKey(virtualKey) ? kKeyEventExtendedKey : 0)};
}

} // namespace

bool WaitUntilInFront(IWindowSystem& system, IClock& clock, WindowHandle target) {
    const int64_t deadline = clock.Milliseconds() + kTargetFrontWaitMs;
    auto left = [&] { return static_cast<int>(std::max<int64_t>(0, deadline - clock.Milliseconds())); };
    for (;;) {
        if (InFront(system, target, left())) return true;
        if (left() == 0) return false;
        clock.Sleep(std::min(kTargetFrontPollMs, left()));
    }
}

std::vector<KeyStroke> CtrlVStrokes(IKeyboard& keyboard) {
    const std::vector<int> held = keyboard.HeldModifiers();
    std::vector<KeyStroke> strokes;
    for (int key : held) strokes.push_back(Stroke(keyboard, key, kKeyEventKeyUp));
    strokes.push_back(Stroke(keyboard, kVkControl, 0));
    strokes.push_back(Stroke(keyboard, kVkV, 0));
    strokes.push_back(Stroke(keyboard, kVkV, kKeyEventKeyUp));
    strokes.push_back(Stroke(keyboard, kVkControl, kKeyEventKeyUp));
    for (auto key = held.rbegin(); key != held.rend(); ++key) strokes.push_back(Stroke(keyboard, *key, 0));
    return strokes;
}

} // namespace korvan
