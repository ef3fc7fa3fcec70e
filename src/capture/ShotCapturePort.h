#pragma once
// The screen capture component as the capture commands use it: the three interactive
// captures and the image of the last one. TShotCapture implements it; tests use a fake.
#include "imaging/Bitmap.h"

namespace korvan::imaging {

class IShotCapture {
public:
    virtual ~IShotCapture() = default;
    // The user draws an area of the given type (1 triangle, 2 rectangle, 3 round
    // rectangle, 4 ellipse, 5 polygon, 6 freehand; 0 keeps the previous type).
    // Each capture answers its status: 1 on success, negative when it failed or the
    // user cancelled it.
    virtual int CaptureArea(int areaType) = 0;
    // The user picks a window or control on the screen.
    virtual int CaptureSelectedObject() = 0;
    // The top-level window under the pointer when called, at its visible bounds.
    virtual int CaptureActiveWindow() = 0;
    // The last capture's image, or nullptr; valid until the next capture starts.
    virtual const imaging::Bitmap* Bitmap() const = 0;
};

} // namespace korvan::imaging
