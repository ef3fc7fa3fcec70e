#pragma once
// Which parts of a screen rectangle no monitor shows. With monitors of different sizes the
// virtual screen has such parts (below a smaller monitor); a grab there gets whatever the
// display left in its memory, so they are painted black, as the system's own grab gives them.
#include "platform/SystemPorts.h"

#include <vector>

namespace korvan::imaging {

// The pieces of the area outside every monitor, as non-overlapping rectangles.
std::vector<ScreenRect> PartsOnNoMonitor(const ScreenRect& area, const std::vector<ScreenRect>& monitors);

} // namespace korvan::imaging
