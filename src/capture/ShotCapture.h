#pragma once
// The screen capture component: holds the settings of area and object capture, runs the
// imaging layer's interactive capture with them, owns the bitmap each capture fills and
// answers every capture with the layer's status.
#include "capture/InteractiveCapture.h"
#include "capture/ShotCapturePort.h"
#include "platform/Exception.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace korvan {

// Colour values as the toolkit keeps them: 0x00BBGGRR, or a system colour as
// 0x80000000 plus its index.
using TColor = int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clBtnFace = clSystemColor | 15;

// Ids of the application's cursor table (-1: none of our own).
using TCursor = int16_t;
inline constexpr TCursor crNone = -1;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class EShotCaptureError : public Exception {
public:
    using Exception::Exception;
};

class TShotCapture final : public imaging::IShotCapture {
public:
    using TShotCaptureHotKeyPressed = std::function<void(TShotCapture& sender, int nHotKeyType)>;
    using TShotCaptureImage = std::function<void(TShotCapture& sender, int nCurrentPageNumber)>;
    static constexpr size_t kTextBufferSize = 260;

    TShotCapture(imaging::IInteractiveCapture& layer, imaging::IDisplayResources& display, std::string name = "ShotCapture");
    ~TShotCapture() override;
    TShotCapture(const TShotCapture&) = delete;
    TShotCapture& operator=(const TShotCapture&) = delete;

    int CaptureArea(int areaType) override;
    int CaptureSelectedObject() override;
    int CaptureActiveWindow() override;
    const imaging::Bitmap* Bitmap() const override;

    const std::string& Name() const { return name_; }
    int LastResult() const { return lastResult_; }
    int CaptureCounter() const { return captureCounter_; }
    const imaging::AreaOptions& AreaOptions() const { return area_; }
    const imaging::ObjectOptions& ObjectOptions() const { return object_; }
    const imaging::CaptureInfo& CaptureInfo() const { return info_; }
    const char* CaptureText() const { return text_.data(); }

    // Area flags.
    bool CaptureAreaBitmapWithRegion() const { return AreaFlag(imaging::kAreaBitmapWithRegion); }
    void SetCaptureAreaBitmapWithRegion(bool on) { SetAreaFlag(imaging::kAreaBitmapWithRegion, on); }
    bool CaptureAreaEnableKeyboard() const { return AreaFlag(imaging::kAreaEnableKeyboard); }
    void SetCaptureAreaEnableKeyboard(bool on) { SetAreaFlag(imaging::kAreaEnableKeyboard, on); }
    bool CaptureAreaIncludeCursor() const { return AreaFlag(imaging::kAreaIncludeCursor); }
    void SetCaptureAreaIncludeCursor(bool on) { SetAreaFlag(imaging::kAreaIncludeCursor, on); }
    bool CaptureAreaSensitiveInfoWindow() const { return AreaFlag(imaging::kAreaSensitiveInfoWindow); }
    void SetCaptureAreaSensitiveInfoWindow(bool on) { SetAreaFlag(imaging::kAreaSensitiveInfoWindow, on); }
    bool CaptureAreaShowAreaSize() const { return AreaFlag(imaging::kAreaShowAreaSize); }
    void SetCaptureAreaShowAreaSize(bool on) { SetAreaFlag(imaging::kAreaShowAreaSize, on); }
    bool CaptureAreaShowCursorPosition() const { return AreaFlag(imaging::kAreaShowCursorPosition); }
    void SetCaptureAreaShowCursorPosition(bool on) { SetAreaFlag(imaging::kAreaShowCursorPosition, on); }
    bool CaptureAreaShowDrawCursor() const { return AreaFlag(imaging::kAreaShowDrawCursor); }
    void SetCaptureAreaShowDrawCursor(bool on) { SetAreaFlag(imaging::kAreaShowDrawCursor, on); }
    bool CaptureAreaShowInfoWindow() const { return AreaFlag(imaging::kAreaShowInfoWindow); }
    void SetCaptureAreaShowInfoWindow(bool on) { SetAreaFlag(imaging::kAreaShowInfoWindow, on); }
    bool CaptureAreaShowOpaqueText() const { return AreaFlag(imaging::kAreaShowOpaqueText); }
    void SetCaptureAreaShowOpaqueText(bool on) { SetAreaFlag(imaging::kAreaShowOpaqueText, on); }
    int CaptureAreaZoomFactor() const { return area_.ZoomFactor(); }
    void SetCaptureAreaZoomFactor(int factor);

    // Area drawing.
    TCursor CaptureAreaDrawCursor() const { return drawCursor_; }
    void SetCaptureAreaDrawCursor(TCursor cursor) { drawCursor_ = cursor; }
    int CaptureAreaDrawEllipseHeight() const { return area_.ellipseHeight; }
    void SetCaptureAreaDrawEllipseHeight(int height) { area_.ellipseHeight = height; }
    int CaptureAreaDrawEllipseWidth() const { return area_.ellipseWidth; }
    void SetCaptureAreaDrawEllipseWidth(int width) { area_.ellipseWidth = width; }
    TColor CaptureAreaDrawLineColor() const { return lineColor_; }
    void SetCaptureAreaDrawLineColor(TColor color);
    TPenStyle CaptureAreaDrawLineStyle();
    void SetCaptureAreaDrawLineStyle(TPenStyle style);
    TColor CaptureAreaFillBackColor() const { return fillBackColor_; }
    void SetCaptureAreaFillBackColor(TColor color);
    TColor CaptureAreaFillForeColor() const { return fillForeColor_; }
    void SetCaptureAreaFillForeColor(TColor color);
    TBrushStyle CaptureAreaFillPattern();
    void SetCaptureAreaFillPattern(TBrushStyle style);
    TColor CaptureAreaTextBackColor() const { return textBackColor_; }
    void SetCaptureAreaTextBackColor(TColor color);
    TColor CaptureAreaTextForeColor() const { return textForeColor_; }
    void SetCaptureAreaTextForeColor(TColor color);
    bool CaptureAreaUseCrossLinesCursor() const { return useCrossLinesCursor_; }
    void SetCaptureAreaUseCrossLinesCursor(bool on) { useCrossLinesCursor_ = on; }

    // Process-wide capture options: each setter pushes them to the layer.
    int CaptureCancelKey() const { return cancelKey_; }
    void SetCaptureCancelKey(int key);
    int CaptureCount() const { return count_; }
    void SetCaptureCount(int count);
    TCursor CaptureCursor() const { return captureCursor_; }
    void SetCaptureCursor(TCursor cursor);
    int CaptureDelay() const { return delay_; }
    void SetCaptureDelay(int milliseconds);
    int CaptureHotKey() const { return hotKey_; }
    void SetCaptureHotKey(int key);
    int CaptureHotKeyModifiers() const { return hotKeyModifiers_; }
    void SetCaptureHotKeyModifiers(int modifiers);
    int CaptureInterval() const { return interval_; }
    void SetCaptureInterval(int milliseconds);
    TCursor CaptureStatusCursor() const { return statusCursor_; }
    void SetCaptureStatusCursor(TCursor cursor);

    // Object capture.
    int CaptureObjectBorderWidth() const { return object_.borderWidth; }
    void SetCaptureObjectBorderWidth(int width);
    bool CaptureObjectEnableKeyboard() const { return (object_.flags & imaging::kObjectEnableKeyboard) != 0; }
    void SetCaptureObjectEnableKeyboard(bool on);
    bool CaptureObjectInvert() const { return (object_.flags & imaging::kObjectInvert) != 0; }
    void SetCaptureObjectInvert(bool on);
    TCursor CaptureObjectSelectCursor() const { return selectCursor_; }
    void SetCaptureObjectSelectCursor(TCursor cursor) { selectCursor_ = cursor; }

    bool EnableMethodErrors() const { return enableMethodErrors_; }
    void SetEnableMethodErrors(bool on) { enableMethodErrors_ = on; }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    TShotCaptureImage OnCaptureImage;
    TShotCaptureHotKeyPressed OnCaptureHotKeyPressed;

private:
    static int CaptureCallback(imaging::Bitmap* bitmap, imaging::CaptureInfo* info, void* userData);
    static int HotKeyCallback(int hotKey, int modifiers, void* userData);

    bool AreaFlag(int32_t bit) const { return (area_.flags & bit) != 0; }
    void SetAreaFlag(int32_t bit, bool on);
    imaging::RgbValue Rgb(TColor color);
    bool HoldsBitmap() const { return !bitmap_.Empty(); }
    void PushCaptureOptions();
    void Prepare();
    int CheckResult(const char* method, int status);
    [[noreturn]] void RaisePropertyError(const char* property, const char* text);
    void CheckHotKeyAgainstCancelKey(int hotKey, int cancelKey, const char* property, const char* text);

    imaging::IInteractiveCapture& layer_;
    imaging::IDisplayResources& display_;
    std::string name_;

    std::array<char, kTextBufferSize> text_{};
    imaging::Bitmap bitmap_;
    int captureCounter_ = 0;
    bool enableMethodErrors_ = true;
    bool useCrossLinesCursor_ = true;
    int count_ = 0, hotKey_ = 0, hotKeyModifiers_ = 0, cancelKey_ = 0;
    TColor lineColor_ = 0, transparentColor_ = 0, fillForeColor_ = 0;
    TCursor selectCursor_ = 0, statusCursor_ = 0, captureCursor_ = 0;
    TColor textBackColor_ = 0;
    int interval_ = 0, delay_ = 0;
    int lastResult_ = 0;
    TCursor drawCursor_ = 0;
    TColor textForeColor_ = 0, fillBackColor_ = 0;
    imaging::CaptureInfo info_;
    imaging::AreaOptions area_;
    imaging::ObjectOptions object_;
};

// The settings the main window gives its capture component when it is loaded.
void ApplyMainWindowSettings(TShotCapture& capture);

} // namespace korvan
