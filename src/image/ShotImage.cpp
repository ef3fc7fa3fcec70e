#include "image/ShotImage.h"

#include "engine/ImageFile.h"
#include "engine/Rounding.h"
#include "engine/SdkStatus.h"

#include <new>

namespace korvan {

using sdk::kSuccess;

namespace {

bool IsFileFailure(int status) {
    return status == sdk::kInvalidFilename || status == sdk::kCannotOpenFile || status == sdk::kErrorWriting ||
           status == sdk::kFileExists;
}

std::string PathText(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

// Marks the document busy for the duration of one imaging call, also when it throws.
class TShotImage::BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

TShotImage::TShotImage(sdk::IScreenGrabber& grabber, sdk::IClipboardWriter& clipboard, std::string name)
    : grabber_(grabber), clipboard_(clipboard), name_(std::move(name)) {}

const sdk::SdkBitmap* TShotImage::Bitmap() {
    lastResult_ = kSuccess;
    return held_ ? &*held_ : nullptr;
}

void TShotImage::SetBitmap(const sdk::SdkBitmap* bitmap) {
    CheckNotBusy();
    int status = kSuccess;
    if (bitmap && !bitmap->Empty()) {
        try {
            sdk::SdkBitmap copy = *bitmap;
            Assign(std::move(copy));
        } catch (const std::bad_alloc&) {
            Empty();
            status = sdk::kNoMemory;
        }
    } else {
        Empty();
    }
    Report(status, "Bitmap");
}

int TShotImage::Capture(sdk::DeviceContext dc, int left, int top, int width, int height) {
    CheckNotBusy();
    int status;
    {
        BusyScope busy(busy_);
        sdk::SdkBitmap grabbed;
        status = grabber_.GrabRect(dc, left, top, left + width, top + height, grabbed);
        if (status == kSuccess) {
            if (grabbed.Empty()) {
                Empty();
            } else {
                Assign(std::move(grabbed));  // takes the grabbed pixels over, no second copy
            }
        }
    }
    return Report(status, "Capture");
}

int TShotImage::Copy(int flags) {
    if (!held_) RaiseNotAllocated("Copy");
    sdk::ClipboardResult result;
    {
        BusyScope busy(busy_);
        result = clipboard_.CopyBitmap(window_, *held_, flags);
    }
    return Report(result.status, "Copy", result.detail);
}

int TShotImage::Save(const std::filesystem::path& fileName, int format, int bitsPerPixel, int quality, int saveMode) {
    CheckNotBusy();
    if (!held_) RaiseNotAllocated("Save");
    sdk::SaveFileResult result;
    {
        BusyScope busy(busy_);
        sdk::SaveFileOptions options;
        options.failIfExists = saveMode == kSaveModeNewFileOnly;
        options.store = store_;
        result = sdk::WriteBitmapFile(fileName, *held_, format, bitsPerPixel, quality, options);
    }
    if (!IsFileFailure(result.status)) return Report(result.status, "Save");
    // The user sees which file failed and, when the system said, why.
    std::string detail = PathText(fileName);
    if (!result.cause.empty()) detail += ": " + result.cause;
    return Report(result.status, "Save", detail);
}

int TShotImage::PaintZoomFactor() const { return static_cast<int>(RoundHalfEven(zoomX_ * 100.0)); }

void TShotImage::SetPaintZoomFactor(int percent) {
    if (percent < 0) {
        lastResult_ = sdk::kInvalidParameter;
        throw EShotImageError(name_ + " \nPaintZoomFactor: Invalid value passed.", lastResult_);
    }
    sizeMode_ = TPaintSizeMode::smZoom;
    zoomX_ = zoomY_ = percent / 100.0;
    Relayout();
}

void TShotImage::SetPaintSizeMode(TPaintSizeMode mode) {
    sizeMode_ = mode;
    Relayout();
}

void TShotImage::SetControlSize(int width, int height, int clientWidth, int clientHeight) {
    width_ = width;
    height_ = height;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    Relayout();
}

void TShotImage::SetScrollPosition(int x, int y) {
    scrollX_ = x;
    scrollY_ = y;
    Relayout();
}

void TShotImage::CheckNotBusy() {
    if (!busy_) return;
    throw EShotImageError(name_ + " \nError code: 0\nProcessing not allowed: " + sdk::SdkErrorText(0) + " ", 0);
}

void TShotImage::Assign(sdk::SdkBitmap&& bitmap) {
    held_ = std::move(bitmap);
    ImageChanged();
}

void TShotImage::Empty() {
    held_.reset();
    ImageChanged();
}

void TShotImage::ImageChanged() {
    displayedWidth_ = held_ ? held_->Width() : 0;
    displayedHeight_ = held_ ? held_->Height() : 0;
    heldBitsPerPixel_ = held_ ? held_->BitsPerPixel() : 0;
    scrollX_ = scrollY_ = 0;
    Relayout();
}

void TShotImage::Relayout() {
    ZoomLayoutInput in;
    in.imageWidth = displayedWidth_;
    in.imageHeight = displayedHeight_;
    bool zoomed = sizeMode_ == TPaintSizeMode::smZoom;
    in.zoomX = zoomed ? zoomX_ : 1.0;
    in.zoomY = zoomed ? zoomY_ : 1.0;
    in.clientWidth = clientWidth_;
    in.clientHeight = clientHeight_;
    in.center = center_ && sizeMode_ != TPaintSizeMode::smFit;
    layout_ = LayoutZoom(in, scrollX_, scrollY_);
    Invalidate();
}

void TShotImage::Invalidate() {
    if (onInvalidate_) onInvalidate_();
}

int TShotImage::Report(int status, const std::string& operation, const std::string& detail) {
    lastResult_ = status;
    if (status == kSuccess) return status;
    std::string text = sdk::SdkErrorText(status);
    if (!detail.empty()) text += " (" + detail + ")";
    throw EShotImageError(name_ + " \nError code: " + std::to_string(status) + "\n" + operation + ": " + text + " ",
                          status);
}

void TShotImage::RaiseNotAllocated(const std::string& operation) {
    lastResult_ = sdk::kInvalidBitmap;
    throw EShotImageError(name_ + " \n" + operation + ": Image not allocated.", lastResult_);
}

} // namespace korvan
