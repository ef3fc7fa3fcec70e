#pragma once
#include "imaging/ImagingPorts.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvan::imaging {

// Places an image on the clipboard as a device-independent bitmap (which every program
// pastes) and as PNG (for programs that prefer it, keeping exact colours).
//
// The DIB goes on the clipboard at once, so the picture stays pasteable whatever happens
// to the program afterwards (ended, killed, crashed). The PNG form is only promised: a
// hidden window owns the clipboard and makes it when a program asks, from the image (kept
// itself when it is shared, else a copy) until the clipboard changes hands. That window
// runs on a thread of its own, so a program asking is answered while the caller's thread
// is busy (pasting, showing the preview, saving a file). What is still promised when this
// object goes, or when KeepOnClipboard is called, is put on the clipboard then.
class ClipboardWin32 final : public IClipboardWriter {
public:
    // How long to keep trying while another program holds the clipboard open.
    static constexpr int kOpenTimeoutMs = 1000;
    ClipboardWin32();
    ~ClipboardWin32() override;
    ClipboardWin32(const ClipboardWin32&) = delete;
    ClipboardWin32& operator=(const ClipboardWin32&) = delete;

    ClipboardResult CopyBitmap(WindowId owner, const Bitmap& bitmap, int flags) override;
    // Keeps the image itself for the promised form, no copy.
    ClipboardResult CopySharedBitmap(WindowId owner, std::shared_ptr<const Bitmap> bitmap, int flags) override;

    // Makes every promised form now, while the clipboard is still ours (the session ends).
    void KeepOnClipboard();
    void MakePromisedForms() override { KeepOnClipboard(); }

    class OwnerThread;

private:
    std::unique_ptr<OwnerThread> owner_;
};

// The DIB form: BITMAPINFOHEADER and bottom-up 24-bit rows.
size_t ClipboardDibSize(const Bitmap& bitmap);
// Writes the DIB form into out (ClipboardDibSize bytes); needs no memory of its own.
void WriteClipboardDib(const Bitmap& bitmap, uint8_t* out);
std::vector<uint8_t> EncodeClipboardDib(const Bitmap& bitmap);

} // namespace korvan::imaging
