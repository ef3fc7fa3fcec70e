#pragma once
// Status codes of the imaging layer. Every imaging call answers 1 for success or a
// negative code; StatusText gives the text shown to the user for each code.
#include <string>

namespace korvan::imaging {

enum : int {
    kSuccess = 1,
    kFailure = 0,
    kNoMemory = -1,
    kInvalidBitmap = -2,
    kErrorReading = -4,
    kErrorWriting = -5,
    kInvalidFilename = -8,
    kInvalidFileFormat = -9,
    kInvalidParameter = -13,
    kCannotOpenFile = -14,
    kFileExists = -15,
    kInvalidQFactor = -21,
    kInvalidBitsPerPixel = -27,
    kImageTooLarge = -32,
    kClipboardOpenFailed = -40,
    kClipboardWriteFailed = -41,
    kScreenDcFailed = -60,
    kCaptureInProcess = -320,
    kInvalidDelay = -321,
    kInvalidCaptureCount = -322,
    kInvalidInterval = -323,
    kHotkeySameAsCancel = -324,
    kWrongAreaType = -325,
    kCaptureCancelled = -326,
    kInvalidCaptureHotkey = -327,
    kInvalidAreaOptions = -328,
    kInvalidObjectOptions = -329,
    kCaptureHookFailed = -330,
    kZeroAreaSize = -331,
    kNoObjectSelected = -332,
    kCaptureBitmapFailed = -333,
    kCaptureAreaOutsideScreen = -334,
    kInvalidCaptureCursor = -335,
    kNoActiveWindow = -336,
    kCannotCaptureWindow = -337,
    kInvalidQFactorRange = -916,
};

// The text for a status: "" for 1, a fixed text for every code the layer can
// return, otherwise "Undefined Error: " followed by the code.
std::string StatusText(int status);

} // namespace korvan::imaging
