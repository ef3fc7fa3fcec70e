#pragma once
#include "engine/ImagingPorts.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::sdk {

// Places an image on the clipboard as a device-independent bitmap (which every program
// pastes) and as PNG (for programs that prefer it, keeping exact colours).
class ClipboardWin32 final : public IClipboardWriter {
public:
    // How long to keep trying while another program holds the clipboard open.
    static constexpr int kOpenTimeoutMs = 1000;
    ClipboardResult CopyBitmap(WindowId owner, const SdkBitmap& bitmap, int flags) override;
};

// The DIB form: BITMAPINFOHEADER and bottom-up 24-bit rows.
size_t ClipboardDibSize(const SdkBitmap& bitmap);
void WriteClipboardDib(const SdkBitmap& bitmap, uint8_t* out);
std::vector<uint8_t> EncodeClipboardDib(const SdkBitmap& bitmap);

} // namespace korvan::sdk
