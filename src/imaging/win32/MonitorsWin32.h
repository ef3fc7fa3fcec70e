#pragma once
// The monitors as the system lays them out, in physical pixels of the virtual screen.
#include "imaging/ScreenCoverage.h"

#include <windows.h>

#include <vector>

namespace korvan::imaging {

std::vector<ScreenRect> MonitorScreenRects();
// Paints black, in a device context holding a grab of the given screen rectangle, the parts
// of it that no monitor shows.
void BlackenPartsOnNoMonitor(HDC grab, const ScreenRect& grabbed);

} // namespace korvan::imaging
