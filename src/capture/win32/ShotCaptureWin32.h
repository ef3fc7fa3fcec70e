#pragma once
// The capture component on this machine's screen.
#include "capture/ShotCapture.h"

#include <memory>
#include <string>

namespace korvan::imaging {

// A component working on the screen, with the declared defaults.
std::unique_ptr<TShotCapture> CreateShotCapture(std::string name = "ShotCapture");
// The main window's component: as above, with the settings the main window gives it
// when it is loaded (red solid outline, no info window, no hot key, statuses instead of
// errors).
std::unique_ptr<TShotCapture> CreateMainWindowShotCapture();

} // namespace korvan::imaging
