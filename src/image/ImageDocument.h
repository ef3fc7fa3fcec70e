#pragma once
// The image document: holds the last captured picture, grabs screen rectangles into it,
// copies it to the clipboard, saves it, and lays it out zoomed for painting.
// Every failing operation raises ImageError with the message users see.
#include "imaging/ImagingPorts.h"
#include "imaging/Bitmap.h"
#include "image/ZoomLayout.h"
#include "platform/Exception.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace korvan {

class ImageError : public Exception {
public:
    ImageError(const std::string& message, int code) : Exception(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// Save mode of our own beyond the page modes: write only a new file, never replace one.
inline constexpr int kSaveModeNewFileOnly = 16;

class ImageDocument {
public:
    ImageDocument(imaging::IScreenGrabber& grabber, imaging::IClipboardWriter& clipboard, std::string name = "ShotImage");

    // Bitmap read: the held image or nullptr.
    const imaging::Bitmap* Bitmap();
    // Bitmap write: a copy of the given image, or empty the document with nullptr.
    void SetBitmap(const imaging::Bitmap* bitmap);

    int Capture(imaging::DeviceContext dc, int left, int top, int width, int height);
    int Copy(int flags);
    // The clipboard's copy complete in every form (see IClipboardWriter::MakePromisedForms).
    void CompleteClipboardCopy();
    int Save(const std::filesystem::path& fileName, int format, int bitsPerPixel, int quality, int saveMode);

    int PaintZoomFactor() const;
    void SetPaintZoomFactor(int percent);

    bool HoldsImage() const { return held_ != nullptr; }
    int DisplayedWidth() const { return displayedWidth_; }
    int DisplayedHeight() const { return displayedHeight_; }
    int HeldBitsPerPixel() const { return heldBitsPerPixel_; }
    int LastResult() const { return lastResult_; }
    const std::string& Name() const { return name_; }

    // Presentation, as placed in its window: the control's outer size (read by the zoom
    // computation) and its client size (used by the layout).
    void SetControlSize(int width, int height, int clientWidth, int clientHeight);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Averaging pixels when the image is painted smaller or larger, instead of taking the nearest.
    bool SmoothScaling() const { return smooth_; }
    void SetSmoothScaling(bool smooth) { smooth_ = smooth; Invalidate(); }
    bool CenterImage() const { return center_; }
    void SetCenterImage(bool center) { center_ = center; Relayout(); }
    void SetScrollPosition(int x, int y);
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    const ZoomLayoutResult& Layout() const { return layout_; }
    // Called whenever the control must repaint (layout or image changed).
    void OnInvalidate(std::function<void()> callback) { onInvalidate_ = std::move(callback); }
    // Where saved files go (the disk unless a test says otherwise).
    void SetFileStore(imaging::IFileStore& store) { store_ = &store; }
    // The window handle used as the clipboard owner.
    void SetWindowId(imaging::WindowId id) { window_ = id; }

private:
    class BusyScope;
    void CheckNotBusy();
    void Assign(imaging::Bitmap&& bitmap);
    void Empty();
    void ImageChanged();
    void Relayout();
    void Invalidate();
    int Report(int status, const std::string& operation, const std::string& detail = {});
    [[noreturn]] void RaiseNotAllocated(const std::string& operation);

    imaging::IScreenGrabber& grabber_;
    imaging::IClipboardWriter& clipboard_;
    imaging::IFileStore* store_ = nullptr;
    std::string name_;
    // Never changed once held, so the clipboard may keep it for a form it makes later.
    std::shared_ptr<const imaging::Bitmap> held_;
    int displayedWidth_ = 0, displayedHeight_ = 0, heldBitsPerPixel_ = 0;
    int lastResult_ = 1;
    bool busy_ = false;
    imaging::WindowId window_ = 0;

    bool zoomed_ = false;  // shown at its actual size until a zoom factor is set
    bool smooth_ = false;
    bool center_ = false;
    double zoomX_ = 1.0, zoomY_ = 1.0;
    int width_ = 0, height_ = 0, clientWidth_ = 0, clientHeight_ = 0;
    int scrollX_ = 0, scrollY_ = 0;
    ZoomLayoutResult layout_;
    std::function<void()> onInvalidate_;
};

} // namespace korvan
