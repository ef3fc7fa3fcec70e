#pragma once
// What the imaging layer needs from the system: the screen's pixels and the clipboard.
// Win32 adapters implement these; tests use fakes.
#include "engine/SdkBitmap.h"

#include <cstdint>
#include <string>

namespace korvan::sdk {

// A device context handle, 0 meaning "the whole screen's".
using DeviceContext = uintptr_t;
// A window handle as a number (0: none).
using WindowId = uintptr_t;

class IScreenGrabber {
public:
    virtual ~IScreenGrabber() = default;
    // Grabs the rectangle (left, top, right, bottom in screen pixels) into out.
    // Answers kSuccess or a negative status; out is untouched on failure.
    virtual int GrabRect(DeviceContext dc, int left, int top, int right, int bottom, SdkBitmap& out) = 0;
};

struct ClipboardResult {
    int status = kSuccessValue;
    std::string detail;  // why, when the status is not success (who holds the clipboard)
    static constexpr int kSuccessValue = 1;
};

class IClipboardWriter {
public:
    virtual ~IClipboardWriter() = default;
    // Replaces the clipboard's content with the image (flags 3: empty first, then place).
    virtual ClipboardResult CopyBitmap(WindowId owner, const SdkBitmap& bitmap, int flags) = 0;
};

} // namespace korvan::sdk
