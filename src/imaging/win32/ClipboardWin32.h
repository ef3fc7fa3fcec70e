#pragma once
#include "imaging/ImagingPorts.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::imaging {

// Places an image on the clipboard as a device-independent bitmap (which every program
// pastes) and as PNG (for programs that prefer it, keeping exact colours).
//
// Both forms are promised rather than made at once: a hidden window of this object owns the
// clipboard and makes a form when a program asks for it, from a copy of the image kept until
// the clipboard changes hands. When this object goes (the program ends) it puts whatever is
// still promised on the clipboard, so the image stays there after the program has gone.
// Must be used and destroyed on one thread, which pumps messages (the user-interface thread).
class ClipboardWin32 final : public IClipboardWriter {
public:
    // How long to keep trying while another program holds the clipboard open.
    static constexpr int kOpenTimeoutMs = 1000;
    ClipboardWin32() = default;
    ~ClipboardWin32() override;
    ClipboardWin32(const ClipboardWin32&) = delete;
    ClipboardWin32& operator=(const ClipboardWin32&) = delete;

    ClipboardResult CopyBitmap(WindowId owner, const Bitmap& bitmap, int flags) override;

    // The owner window's messages about the promised forms; answers whether it took one.
    bool HandleOwnerMessage(unsigned message, uintptr_t wParam);

private:
    bool EnsureOwnerWindow();
    ClipboardResult CopyNow(void* owner, const Bitmap& bitmap, int flags);
    void Render(unsigned format);  // a promised form, the clipboard being open
    void RenderAll();              // everything still promised, as the owner leaves
    void Forget();

    void* window_ = nullptr;
    Bitmap pending_;
    bool dibPromised_ = false;
    bool pngPromised_ = false;
};

// The DIB form: BITMAPINFOHEADER and bottom-up 24-bit rows.
size_t ClipboardDibSize(const Bitmap& bitmap);
void WriteClipboardDib(const Bitmap& bitmap, uint8_t* out);
std::vector<uint8_t> EncodeClipboardDib(const Bitmap& bitmap);

} // namespace korvan::imaging
