#pragma once
// The imaging layer's interactive capture: the user draws an area, picks a screen object
// or names a window, and the layer cuts the picture from the screen. The records and calls
// below are what the capture component passes; the Win32 adapter does the capturing,
// tests use a fake.
#include "imaging/Bitmap.h"

#include <cstdint>

namespace korvan::imaging {

// Cursor handles travel as 32-bit values (the system's user handles fit in 32 bits).
// 0 leaves the cursor to the layer; -1 in the area options asks for the cross-lines cursor.
using CursorHandle = int32_t;
inline constexpr CursorHandle kCrossLinesCursor = -1;

// Colours in the options are RGB values as 0x00BBGGRR.
using RgbValue = uint32_t;

// Shapes of an area capture.
enum AreaType : int32_t {
    kAreaTriangle = 1,
    kAreaRectangle = 2,
    kAreaRoundRectangle = 3,
    kAreaEllipse = 4,
    kAreaPolygon = 5,
    kAreaFreehand = 6,
};

// Bits of AreaOptions::flags.
enum AreaFlag : int32_t {
    kAreaShowDrawCursor = 1,
    kAreaIncludeCursor = 2,
    kAreaEnableKeyboard = 4,
    kAreaShowOpaqueText = 8,
    kAreaShowCursorPosition = 16,
    kAreaShowAreaSize = 32,
    kAreaShowInfoWindow = 64,
    kAreaSensitiveInfoWindow = 128,
    kAreaBitmapWithRegion = 256,
};
inline constexpr int kAreaZoomShift = 12;
inline constexpr int32_t kAreaZoomMask = 0xF << kAreaZoomShift;

// Fill patterns (the outside of a shape in a region bitmap) and line styles (the outline).
enum FillPattern : int32_t { kFillHorizontal, kFillVertical, kFillFDiagonal, kFillBDiagonal, kFillCross, kFillDiagCross, kFillSolid };
enum LineStyle : int32_t { kLineSolid, kLineDash, kLineDot, kLineDashDot, kLineDashDotDot };

struct AreaOptions {
    int32_t size = 0;  // set by the layer
    int32_t areaType = 0;
    int32_t fillPattern = 0;
    RgbValue fillForeColor = 0;
    RgbValue fillBackColor = 0;
    int32_t lineStyle = 0;
    RgbValue lineColor = 0;
    int32_t ellipseWidth = 0;
    int32_t ellipseHeight = 0;
    int32_t flags = 0;
    CursorHandle drawCursor = 0;
    RgbValue textForeColor = 0;
    RgbValue textBackColor = 0;
    int32_t reserved[4] = {};  // set by the layer

    int ZoomFactor() const { return (flags & kAreaZoomMask) >> kAreaZoomShift; }
};
static_assert(sizeof(AreaOptions) == 17 * 4);

// Bits of ObjectOptions::flags.
enum ObjectFlag : int32_t { kObjectInvert = 1, kObjectEnableKeyboard = 2 };

struct ObjectOptions {
    int32_t flags = 0;
    int32_t borderWidth = 0;
    CursorHandle selectCursor = 0;
    int32_t reserved = 0;  // set by the layer
};
static_assert(sizeof(ObjectOptions) == 4 * 4);

// The process-wide options of every capture.
struct CaptureOptions {
    CursorHandle captureCursor = 0;
    CursorHandle statusCursor = 0;
    int32_t hotKey = 0;
    int32_t hotKeyModifiers = 0;  // 1 Shift, 2 Ctrl, 4 Alt
    int32_t cancelKey = 0;
    int32_t delayMs = 0;
    int32_t count = 0;
    int32_t intervalMs = 0;
    friend bool operator==(const CaptureOptions&, const CaptureOptions&) = default;
};
static_assert(sizeof(CaptureOptions) == 8 * 4);

// Kinds of capture reported in CaptureInfo::kind.
enum CaptureKind : int32_t { kCaptureKindArea = 1, kCaptureKindObject = 2, kCaptureKindWindow = 3 };

// What the layer tells about each captured image. The caller points text at a buffer of
// textSize bytes; the layer writes the captured window's title there (zero-terminated).
struct CaptureInfo {
    int32_t kind = 0;
    int32_t areaType = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;  // captured rectangle, screen pixels
    int32_t pageNumber = 0;                            // 1 for the first image of a capture
    int32_t cursorX = 0, cursorY = 0;                  // pointer at the capture
    uint64_t window = 0;                               // the captured window or control
    int32_t reserved[52] = {};
    char* text = nullptr;
    int32_t textSize = 0;
};

using CaptureCallback = int (*)(Bitmap* bitmap, CaptureInfo* info, void* userData);
using HotKeyCallback = int (*)(int hotKey, int modifiers, void* userData);

class IInteractiveCapture {
public:
    virtual ~IInteractiveCapture() = default;
    virtual int ImgGetDefaultAreaOption(AreaOptions& options) = 0;
    virtual int ImgGetDefaultObjectOption(ObjectOptions& options) = 0;
    virtual int ImgGetCaptureOption(CaptureOptions& options) = 0;
    virtual int ImgSetCaptureOption(const CaptureOptions& options) = 0;
    virtual int ImgCaptureSetHotKeyCallback(HotKeyCallback callback, void* userData) = 0;
    // Ends a capture that waits for its hot key.
    virtual int ImgStopCapture() = 0;
    virtual int ImgCaptureArea(Bitmap& bitmap, AreaOptions& options, CaptureInfo& info, CaptureCallback callback,
                               void* userData) = 0;
    virtual int ImgCaptureSelectedObject(Bitmap& bitmap, ObjectOptions& options, CaptureInfo& info,
                                         CaptureCallback callback, void* userData) = 0;
    // The top-level window under the pointer, at its visible bounds.
    virtual int ImgCaptureActiveWindow(Bitmap& bitmap, CaptureInfo& info, CaptureCallback callback,
                                       void* userData) = 0;
    virtual int ImgInitBitmap(Bitmap& bitmap, int width, int height, int bitsPerPixel) = 0;
    virtual int ImgFreeBitmap(Bitmap& bitmap) = 0;
};

// The defaults the layer hands out for new options records, and its capture options at start.
AreaOptions DefaultAreaOptions();
ObjectOptions DefaultObjectOptions();
CaptureOptions DefaultCaptureOptions();
// The layer's check of capture options: kSuccess or the status naming the bad field.
int ValidateCaptureOptions(const CaptureOptions& options);

// The application's cursors and colours as the screen knows them.
class IDisplayResources {
public:
    virtual ~IDisplayResources() = default;
    // The handle the application's cursor table holds for the id, or the default
    // cursor's when the table has none; 0 for id -1 (no cursor of our own).
    virtual CursorHandle ScreenCursor(int cursorId) = 0;
    // The current RGB value of a system colour (index as in GetSysColor).
    virtual RgbValue SystemColor(int index) = 0;
};

} // namespace korvan::imaging
