#pragma once
// The image document's window: paints the held image zoomed into its layout, the
// silver background only where the image is not, and scrolls when the image is larger.
#include "image/ImageDocument.h"
#include "platform/win32/ThemeWin32.h"
#include "platform/win32/WindowBase.h"

namespace korvan::win {

class ImageView final : public WindowBase<ImageView> {
public:
    ImageView(HWND parent, ImageDocument& document);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Place(int x, int y, int width, int height);

    static constexpr int kScrollStep = 10;

private:
    void Paint();
    void SizeChanged();
    void UpdateScrollBars();
    void Scroll(int bar, int request);

    ImageDocument& document_;
    bool updatingScrollBars_ = false;
};

} // namespace korvan::win
