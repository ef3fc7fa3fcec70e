#include "imaging/Status.h"

#include <array>
#include <utility>

namespace korvan::imaging {
namespace {

// Texts as users of the imaging layer know them; spelling kept as shipped.
constexpr std::array<std::pair<int, const char*>, 35> kTexts{{
    {kFailure, "Function not successful"},
    {kNoMemory, "Not enough memory available"},
    {kInvalidBitmap, "Invalid bitmap handle"},
    {kErrorReading, "Error reading file"},
    {kErrorWriting, "Error writing file"},
    {kInvalidFilename, "Invalid filename specified"},
    {kInvalidFileFormat, "Invalid file format"},
    {kInvalidParameter, "Invalid parmameter passed"},
    {kCannotOpenFile, "Not able to open file"},
    {kFileExists, "File already exists"},
    {kInvalidQFactor, "Invalid QFactor specified"},
    {kInvalidBitsPerPixel, "Invalid bits/pixel"},
    {kImageTooLarge, "Image dimensions too large"},
    {kClipboardOpenFailed, "Cannot open the clipboard"},
    {kClipboardWriteFailed, "Cannot place the image on the clipboard"},
    {kScreenDcFailed, "Cannot access the screen"},
    {kCaptureInProcess, "Capture still in process"},
    {kInvalidDelay, "Invalid delay value"},
    {kInvalidCaptureCount, "Invalid capture count"},
    {kInvalidInterval, "Invalid interval value"},
    {kHotkeySameAsCancel, "Hotkey cannot be the same as the cancel key"},
    {kWrongAreaType, "Wrong area type"},
    {kCaptureCancelled, "Capture cancelled by the user"},
    {kInvalidCaptureHotkey, "Invalid capture hotkey"},
    {kInvalidAreaOptions, "Invalid area options"},
    {kInvalidObjectOptions, "Invalid object options"},
    {kCaptureHookFailed, "Cannot start the capture"},
    {kZeroAreaSize, "Zero area size"},
    {kNoObjectSelected, "No object selected"},
    {kCaptureBitmapFailed, "Cannot create the capture bitmap"},
    {kCaptureAreaOutsideScreen, "Capture area outside the screen"},
    {kInvalidCaptureCursor, "Invalid capture cursor"},
    {kNoActiveWindow, "No active window"},
    {kCannotCaptureWindow, "Can't capture window"},
    {kInvalidQFactorRange, "Invalid QFactor"},
}};

} // namespace

std::string StatusText(int status) {
    if (status == kSuccess) return {};
    for (const auto& [code, text] : kTexts)
        if (code == status) return text;
    return "Undefined Error: " + std::to_string(status);
}

} // namespace korvan::imaging
