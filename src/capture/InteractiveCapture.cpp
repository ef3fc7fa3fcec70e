#include "capture/InteractiveCapture.h"

#include "imaging/Status.h"

namespace korvan::imaging {

AreaOptions DefaultAreaOptions() {
    AreaOptions options;
    options.size = sizeof(AreaOptions);
    options.areaType = kAreaRectangle;
    options.fillPattern = kFillSolid;
    options.fillForeColor = 0x000000;
    options.fillBackColor = 0xFFFFFF;
    options.lineStyle = kLineDash;
    options.lineColor = 0xFFFFFF;
    options.ellipseWidth = 100;
    options.ellipseHeight = 100;
    options.flags = kAreaShowDrawCursor | kAreaEnableKeyboard | kAreaShowOpaqueText | kAreaShowCursorPosition |
                    kAreaShowAreaSize | kAreaShowInfoWindow | kAreaSensitiveInfoWindow | kAreaBitmapWithRegion |
                    (2 << kAreaZoomShift);
    options.drawCursor = 0;
    options.textForeColor = 0x000000;
    options.textBackColor = 0xFFFFFF;
    return options;
}

ObjectOptions DefaultObjectOptions() {
    ObjectOptions options;
    options.flags = kObjectEnableKeyboard;
    options.borderWidth = 5;
    options.selectCursor = 0;
    return options;
}

CaptureOptions DefaultCaptureOptions() {
    CaptureOptions options;
    options.hotKey = 122;  // F11
    options.hotKeyModifiers = 0;
    options.cancelKey = 27;  // Escape
    options.delayMs = 0;
    options.count = 1;
    options.intervalMs = 10;
    return options;
}

int ValidateCaptureOptions(const CaptureOptions& options) {
    if (options.delayMs < 0 || options.delayMs > 60999) return kInvalidDelay;
    if (options.count < 0 || options.count > 120) return kInvalidCaptureCount;
    if (options.intervalMs < 0 || options.intervalMs > 60999) return kInvalidInterval;
    if (options.hotKey < 0 || options.hotKey > 255 || options.hotKeyModifiers < 0 || options.hotKeyModifiers > 7)
        return kInvalidCaptureHotkey;
    if (options.cancelKey < 0 || options.cancelKey > 255) return kInvalidParameter;
    if (options.hotKey != 0 && options.hotKeyModifiers == 0 && options.hotKey == options.cancelKey)
        return kHotkeySameAsCancel;
    return kSuccess;
}

} // namespace korvan::imaging
