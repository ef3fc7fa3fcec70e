#pragma once

namespace korvan {

// Zoom percent for showing an image of the displayed size in an image control of the
// given size: 100 divided by a whole number, never enlarging. 60 pixels of the
// control are margin. An axis whose control is exactly 60 pixels has no room at all
// and does not count (the ratio would divide by zero).
int ComputeZoomPercent(int displayedWidth, int displayedHeight, int controlWidth, int controlHeight);

} // namespace korvan
