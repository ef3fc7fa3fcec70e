#include "capture/ShotCapture.h"

#include "imaging/Status.h"


namespace korvan {

namespace {

// Texts of the property errors, spelled as users of the component have always seen them.
constexpr const char* kInvalidValueCapital = "Invalid property Value";
constexpr const char* kInvalidValue = "Invalid property value";

// Line styles and fill patterns in the order of the layer's codes.
constexpr TPenStyle kLineStyles[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot,
                                     TPenStyle::psDashDotDot};
constexpr TBrushStyle kFillPatterns[] = {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical,
                                         TBrushStyle::bsFDiagonal,   TBrushStyle::bsBDiagonal,
                                         TBrushStyle::bsCross,       TBrushStyle::bsDiagCross,
                                         TBrushStyle::bsSolid};

template <typename T, size_t N> int CodeOf(const T (&table)[N], T value) {
    for (size_t i = 0; i < N; ++i)
        if (table[i] == value) return static_cast<int>(i);
    return -1;
}

} // namespace

TShotCapture::TShotCapture(imaging::IInteractiveCapture& layer, imaging::IDisplayResources& display, std::string name)
    : layer_(layer), display_(display), name_(std::move(name)) {
    captureCounter_ = 0;
    enableMethodErrors_ = true;
    useCrossLinesCursor_ = true;
    text_.fill(0);

    count_ = 1;
    hotKey_ = 122;  // F11
    hotKeyModifiers_ = 0;
    cancelKey_ = 27;  // Escape
    lineColor_ = clWhite;
    fillBackColor_ = clWhite;
    transparentColor_ = clWhite;
    fillForeColor_ = clBlack;
    selectCursor_ = statusCursor_ = captureCursor_ = crNone;
    textBackColor_ = clWhite;
    interval_ = 10;
    delay_ = 0;
    lastResult_ = imaging::kSuccess;
    drawCursor_ = crNone;
    textForeColor_ = clBlack;

    layer_.ImgCaptureSetHotKeyCallback(&TShotCapture::HotKeyCallback, this);

    bitmap_.Reset();
    info_ = {};

    layer_.ImgGetDefaultAreaOption(area_);
    layer_.ImgGetDefaultObjectOption(object_);

    imaging::CaptureOptions options;
    layer_.ImgGetCaptureOption(options);
    hotKey_ = options.hotKey;
    hotKeyModifiers_ = options.hotKeyModifiers;
    cancelKey_ = options.cancelKey;
    delay_ = options.delayMs;
    count_ = options.count;
    interval_ = options.intervalMs;

    enableMethodErrors_ = true;
    transparentColor_ = clWhite;
    info_.text = text_.data();
    info_.textSize = static_cast<int32_t>(kTextBufferSize);
}

TShotCapture::~TShotCapture() {
    if (HoldsBitmap()) layer_.ImgFreeBitmap(bitmap_);
}

const imaging::Bitmap* TShotCapture::Bitmap() const { return HoldsBitmap() ? &bitmap_ : nullptr; }

// ---- operations ---------------------------------------------------------------------

int TShotCapture::CaptureArea(int areaType) {
    Prepare();
    if (areaType != 0) area_.areaType = areaType;
    if (useCrossLinesCursor_) area_.drawCursor = imaging::kCrossLinesCursor;
    int status = layer_.ImgCaptureArea(bitmap_, area_, info_, &TShotCapture::CaptureCallback, this);
    return CheckResult("CaptureArea", status);
}

int TShotCapture::CaptureSelectedObject() {
    Prepare();
    int status = layer_.ImgCaptureSelectedObject(bitmap_, object_, info_, &TShotCapture::CaptureCallback, this);
    return CheckResult("CaptureSelectedObject", status);
}

int TShotCapture::CaptureActiveWindow() {
    Prepare();
    int status = layer_.ImgCaptureActiveWindow(bitmap_, info_, &TShotCapture::CaptureCallback, this);
    return CheckResult("CaptureActiveWindow", status);
}

void TShotCapture::Prepare() {
    captureCounter_ = 0;
    layer_.ImgStopCapture();
    imaging::CaptureOptions options;
    layer_.ImgGetCaptureOption(options);
    options.captureCursor = display_.ScreenCursor(captureCursor_);
    options.statusCursor = display_.ScreenCursor(statusCursor_);
    layer_.ImgSetCaptureOption(options);
    area_.drawCursor = display_.ScreenCursor(drawCursor_);
    object_.selectCursor = display_.ScreenCursor(selectCursor_);
    if (HoldsBitmap()) {
        layer_.ImgFreeBitmap(bitmap_);
        layer_.ImgInitBitmap(bitmap_, 0, 0, 0);
    }
}

int TShotCapture::CheckResult(const char* method, int status) {
    lastResult_ = status;
    if (status != imaging::kSuccess && enableMethodErrors_) {
        throw EShotCaptureError(name_ + " \nError code: " + std::to_string(status) + "\n" + method + ": " +
                                imaging::StatusText(status) + " ");
    }
    return status;
}

int TShotCapture::CaptureCallback(imaging::Bitmap*, imaging::CaptureInfo* info, void* userData) {
    if (!userData) return 1;
    auto& self = *static_cast<TShotCapture*>(userData);
    if (info != &self.info_) {
        if (info) {
            self.info_ = *info;
        } else {
            self.info_ = {};
        }
    }
    ++self.captureCounter_;
    if (self.OnCaptureImage) self.OnCaptureImage(self, self.captureCounter_);
    return 1;
}

int TShotCapture::HotKeyCallback(int, int, void* userData) {
    if (!userData) return 1;
    auto& self = *static_cast<TShotCapture*>(userData);
    self.captureCounter_ = 0;
    if (self.OnCaptureHotKeyPressed) self.OnCaptureHotKeyPressed(self, 0);
    return 1;
}

// ---- properties ---------------------------------------------------------------------

void TShotCapture::RaisePropertyError(const char* property, const char* text) {
    lastResult_ = imaging::kFailure;
    throw EShotCaptureError(name_ + "\n" + property + ": " + text);
}

void TShotCapture::SetAreaFlag(int32_t bit, bool on) {
    area_.flags = on ? (area_.flags | bit) : (area_.flags & ~bit);
}

imaging::RgbValue TShotCapture::Rgb(TColor color) {
    if (color < 0) return display_.SystemColor(color & 0xFF);
    return static_cast<imaging::RgbValue>(color);
}

void TShotCapture::SetCaptureAreaZoomFactor(int factor) {
    if (factor < 1 || factor > 15) RaisePropertyError("CaptureAreaZoomFactor", kInvalidValueCapital);
    area_.flags = (area_.flags & ~imaging::kAreaZoomMask) | (factor << imaging::kAreaZoomShift);
}

void TShotCapture::SetCaptureAreaDrawLineColor(TColor color) {
    lineColor_ = color;
    area_.lineColor = Rgb(color);
}

void TShotCapture::SetCaptureAreaFillBackColor(TColor color) {
    fillBackColor_ = color;
    area_.fillBackColor = Rgb(color);
}

void TShotCapture::SetCaptureAreaFillForeColor(TColor color) {
    fillForeColor_ = color;
    area_.fillForeColor = Rgb(color);
}

void TShotCapture::SetCaptureAreaTextBackColor(TColor color) {
    textBackColor_ = color;
    area_.textBackColor = Rgb(color);
}

void TShotCapture::SetCaptureAreaTextForeColor(TColor color) {
    textForeColor_ = color;
    area_.textForeColor = Rgb(color);
}

TPenStyle TShotCapture::CaptureAreaDrawLineStyle() {
    if (area_.lineStyle < 0 || area_.lineStyle > 4) {
        area_.lineStyle = imaging::kLineSolid;
        return TPenStyle::psSolid;
    }
    return kLineStyles[area_.lineStyle];
}

void TShotCapture::SetCaptureAreaDrawLineStyle(TPenStyle style) {
    int code = CodeOf(kLineStyles, style);
    if (code < 0) RaisePropertyError("CaptureAreaDrawLineStyle", kInvalidValue);
    area_.lineStyle = code;
}

TBrushStyle TShotCapture::CaptureAreaFillPattern() {
    if (area_.fillPattern < 0 || area_.fillPattern > 6) {
        area_.fillPattern = imaging::kFillSolid;
        return TBrushStyle::bsSolid;
    }
    return kFillPatterns[area_.fillPattern];
}

void TShotCapture::SetCaptureAreaFillPattern(TBrushStyle style) {
    int code = CodeOf(kFillPatterns, style);
    if (code < 0) RaisePropertyError("CaptureAreaFillPattern", kInvalidValue);
    area_.fillPattern = code;
}

void TShotCapture::CheckHotKeyAgainstCancelKey(int hotKey, int cancelKey, const char* property, const char* text) {
    if (hotKey != 0 && hotKeyModifiers_ == 0 && hotKey == cancelKey) RaisePropertyError(property, text);
}

void TShotCapture::SetCaptureCancelKey(int key) {
    if (key < 0 || key > 255) RaisePropertyError("CaptureCancelKey", kInvalidValue);
    CheckHotKeyAgainstCancelKey(hotKey_, key, "CaptureCancelKey", kInvalidValue);
    cancelKey_ = key;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureCount(int count) {
    if (count < 0 || count > 120) RaisePropertyError("CaptureCount", kInvalidValueCapital);
    count_ = count;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureCursor(TCursor cursor) {
    captureCursor_ = cursor;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureDelay(int milliseconds) {
    if (milliseconds < 0 || milliseconds > 60999) RaisePropertyError("CaptureDelay", kInvalidValueCapital);
    delay_ = milliseconds;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureHotKey(int key) {
    if (key < 0 || key > 255) RaisePropertyError("CaptureHotKey", kInvalidValueCapital);
    CheckHotKeyAgainstCancelKey(key, cancelKey_, "CaptureHotKey", kInvalidValueCapital);
    hotKey_ = key;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureHotKeyModifiers(int modifiers) {
    if (modifiers < 0 || modifiers > 7) RaisePropertyError("CaptureHotKeyModifiers", kInvalidValue);
    hotKeyModifiers_ = modifiers;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureInterval(int milliseconds) {
    if (milliseconds < 0 || milliseconds > 60999) RaisePropertyError("CaptureInterval", kInvalidValue);
    interval_ = milliseconds;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureStatusCursor(TCursor cursor) {
    statusCursor_ = cursor;
    PushCaptureOptions();
}

void TShotCapture::SetCaptureObjectBorderWidth(int width) {
    if (width < 0) RaisePropertyError("CaptureObjectBorderWidth", kInvalidValue);
    object_.borderWidth = width;
}

void TShotCapture::SetCaptureObjectEnableKeyboard(bool on) {
    object_.flags = on ? (object_.flags | imaging::kObjectEnableKeyboard) : (object_.flags & ~imaging::kObjectEnableKeyboard);
}

void TShotCapture::SetCaptureObjectInvert(bool on) {
    object_.flags = on ? (object_.flags | imaging::kObjectInvert) : (object_.flags & ~imaging::kObjectInvert);
}

void TShotCapture::PushCaptureOptions() {
    imaging::CaptureOptions options;
    options.captureCursor = display_.ScreenCursor(captureCursor_);
    options.statusCursor = display_.ScreenCursor(statusCursor_);
    options.hotKey = hotKey_;
    options.hotKeyModifiers = hotKeyModifiers_;
    options.cancelKey = cancelKey_;
    options.delayMs = delay_;
    options.count = count_;
    options.intervalMs = interval_;
    layer_.ImgSetCaptureOption(options);
}

void ApplyMainWindowSettings(TShotCapture& capture) {
    capture.SetCaptureAreaDrawLineColor(clRed);
    capture.SetCaptureAreaDrawLineStyle(TPenStyle::psSolid);
    capture.SetCaptureAreaShowInfoWindow(false);
    capture.SetCaptureHotKey(0);
    capture.SetEnableMethodErrors(false);
}

} // namespace korvan
