#pragma once
#include "imaging/ImagingPorts.h"

namespace korvan::imaging {

// Copies screen pixels (layered windows included) into a 24-bit bitmap.
class ScreenGrabberWin32 final : public IScreenGrabber {
public:
    int GrabRect(DeviceContext dc, int left, int top, int right, int bottom, Bitmap& out) override;
};

} // namespace korvan::imaging
