#pragma once
// Typing Ctrl+V into the target application and into nothing else. Synthetic keys go to
// whichever window is in the foreground when the system takes them, so they are typed
// only once the target is in front, takes input and has handled what was sent to it (its
// own activation among it); the modifier keys the user still holds are let go around them.
#include "platform/SystemPorts.h"

#include <vector>

namespace korvan {

// How long a restored target has to come to the front, and how often it is looked at.
inline constexpr int kTargetFrontWaitMs = 500;
inline constexpr int kTargetFrontPollMs = 20;

// Waits at most kTargetFrontWaitMs until the foreground window's root owner is the
// target, the target takes input and its program has handled everything sent to it.
bool WaitUntilInFront(IWindowSystem& system, IClock& clock, WindowHandle target);

// Ctrl+V as one run of strokes: every modifier the user holds up, Ctrl down, V down,
// V up, Ctrl up, those modifiers down again. Each scan code is looked up for its stroke.
std::vector<KeyStroke> CtrlVStrokes(IKeyboard& keyboard);

} // namespace korvan
