#pragma once
// Where a window opens so that it can be seen whole: on one monitor's work area, the one
// the main window is on, never straddling two monitors.
#include "platform/SystemPorts.h"

#include <vector>

namespace korvan {

// A rectangle of the given size centred in the work area.
ScreenRect CentredIn(const ScreenRect& workArea, int width, int height);
// The rectangle slid into the work area, whole; a larger one keeps its top left corner in it.
ScreenRect KeptWithin(const ScreenRect& rect, const ScreenRect& workArea);
// The rectangle on the target work area: where it already lies there, only kept whole;
// from another monitor (the one of `workAreas` holding most of it) it moves along, keeping
// its place relative to that monitor's corner.
ScreenRect MovedOnto(const ScreenRect& rect, const ScreenRect& target, const std::vector<ScreenRect>& workAreas);

} // namespace korvan
