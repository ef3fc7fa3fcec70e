#include "image/ImageDocument.h"

#include "imaging/ImageFile.h"
#include "imaging/Rounding.h"
#include "imaging/Status.h"

#include <new>

namespace korvan {

using imaging::kSuccess;

namespace {

bool IsFileFailure(int status) {
    return status == imaging::kInvalidFilename || status == imaging::kCannotOpenFile || status == imaging::kErrorWriting ||
           status == imaging::kFileExists;
}

std::string PathText(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

// Marks the document busy for the duration of one imaging call, also when it throws.
class ImageDocument::BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

ImageDocument::ImageDocument(imaging::IScreenGrabber& grabber, imaging::IClipboardWriter& clipboard, std::string name)
    : grabber_(grabber), clipboard_(clipboard), name_(std::move(name)) {}

const imaging::Bitmap* ImageDocument::Bitmap() {
    lastResult_ = kSuccess;
    return held_.get();
}

void ImageDocument::SetBitmap(const imaging::Bitmap* bitmap) {
    CheckNotBusy();
    int status = kSuccess;
    if (bitmap && !bitmap->Empty()) {
        try {
            imaging::Bitmap copy = *bitmap;
            Assign(std::move(copy));
        } catch (const std::bad_alloc&) {
            Empty();
            status = imaging::kNoMemory;
        }
    } else {
        Empty();
    }
    Report(status, "Bitmap");
}

int ImageDocument::Capture(imaging::DeviceContext dc, int left, int top, int width, int height) {
    CheckNotBusy();
    int status;
    {
        BusyScope busy(busy_);
        imaging::Bitmap grabbed;
        status = grabber_.GrabRect(dc, left, top, left + width, top + height, grabbed);
        if (status == kSuccess) {
            if (grabbed.Empty()) {
                Empty();
            } else {
                try {
                    Assign(std::move(grabbed));  // takes the grabbed pixels over, no second copy
                } catch (const std::bad_alloc&) {
                    Empty();
                    status = imaging::kNoMemory;
                }
            }
        }
    }
    return Report(status, "Capture");
}

int ImageDocument::Copy(int flags) {
    if (!held_) RaiseNotAllocated("Copy");
    imaging::ClipboardResult result;
    {
        BusyScope busy(busy_);
        result = clipboard_.CopySharedBitmap(window_, held_, flags);
    }
    return Report(result.status, "Copy", result.detail);
}

void ImageDocument::CompleteClipboardCopy() {
    BusyScope busy(busy_);
    clipboard_.MakePromisedForms();
}

int ImageDocument::Save(const std::filesystem::path& fileName, int format, int bitsPerPixel, int quality, int saveMode) {
    CheckNotBusy();
    if (!held_) RaiseNotAllocated("Save");
    imaging::SaveFileResult result;
    {
        BusyScope busy(busy_);
        imaging::SaveFileOptions options;
        options.failIfExists = saveMode == kSaveModeNewFileOnly;
        options.store = store_;
        result = imaging::WriteBitmapFile(fileName, *held_, format, bitsPerPixel, quality, options);
    }
    if (!IsFileFailure(result.status)) return Report(result.status, "Save");
    // The user sees which file failed and, when the system said, why.
    std::string detail = PathText(fileName);
    if (!result.cause.empty()) detail += ": " + result.cause;
    return Report(result.status, "Save", detail);
}

int ImageDocument::PaintZoomFactor() const { return static_cast<int>(RoundHalfEven(zoomX_ * 100.0)); }

void ImageDocument::SetPaintZoomFactor(int percent) {
    if (percent < 0) {
        lastResult_ = imaging::kInvalidParameter;
        throw ImageError(name_ + " \nPaintZoomFactor: Invalid value passed.", lastResult_);
    }
    zoomed_ = true;
    zoomX_ = zoomY_ = percent / 100.0;
    Relayout();
}

void ImageDocument::SetControlSize(int width, int height, int clientWidth, int clientHeight) {
    width_ = width;
    height_ = height;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    Relayout();
}

void ImageDocument::SetScrollPosition(int x, int y) {
    scrollX_ = x;
    scrollY_ = y;
    Relayout();
}

void ImageDocument::CheckNotBusy() {
    if (!busy_) return;
    throw ImageError(name_ + " \nError code: 0\nProcessing not allowed: " + imaging::StatusText(0) + " ", 0);
}

void ImageDocument::Assign(imaging::Bitmap&& bitmap) {
    held_ = std::make_shared<const imaging::Bitmap>(std::move(bitmap));
    ImageChanged();
}

void ImageDocument::Empty() {
    held_.reset();
    ImageChanged();
}

void ImageDocument::ImageChanged() {
    displayedWidth_ = held_ ? held_->Width() : 0;
    displayedHeight_ = held_ ? held_->Height() : 0;
    heldBitsPerPixel_ = held_ ? held_->BitsPerPixel() : 0;
    scrollX_ = scrollY_ = 0;
    Relayout();
}

void ImageDocument::Relayout() {
    ZoomLayoutInput in;
    in.imageWidth = displayedWidth_;
    in.imageHeight = displayedHeight_;
    in.zoomX = zoomed_ ? zoomX_ : 1.0;
    in.zoomY = zoomed_ ? zoomY_ : 1.0;
    in.clientWidth = clientWidth_;
    in.clientHeight = clientHeight_;
    in.center = center_;
    layout_ = LayoutZoom(in, scrollX_, scrollY_);
    Invalidate();
}

void ImageDocument::Invalidate() {
    if (onInvalidate_) onInvalidate_();
}

int ImageDocument::Report(int status, const std::string& operation, const std::string& detail) {
    lastResult_ = status;
    if (status == kSuccess) return status;
    std::string text = imaging::StatusText(status);
    if (!detail.empty()) text += " (" + detail + ")";
    throw ImageError(name_ + " \nError code: " + std::to_string(status) + "\n" + operation + ": " + text + " ",
                          status);
}

void ImageDocument::RaiseNotAllocated(const std::string& operation) {
    lastResult_ = imaging::kInvalidBitmap;
    throw ImageError(name_ + " \n" + operation + ": Image not allocated.", lastResult_);
}

} // namespace korvan
