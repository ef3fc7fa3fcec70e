#pragma once
#include "engine/ImagingPorts.h"

namespace korvan::sdk {

// Copies screen pixels (layered windows included) into a 24-bit bitmap.
class ScreenGrabberWin32 final : public IScreenGrabber {
public:
    int GrabRect(DeviceContext dc, int left, int top, int right, int bottom, SdkBitmap& out) override;
};

} // namespace korvan::sdk
