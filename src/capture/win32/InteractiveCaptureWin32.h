#pragma once
// The interactive capture on this machine's screen. Area and object captures grab the
// whole virtual screen once, show it frozen in the overlay and cut the result from that
// same grab; the window under the pointer is grabbed live. One capture runs at a time in
// the process: another one asked for meanwhile is refused.
#include "capture/CapturePorts.h"
#include "capture/win32/CaptureOverlay.h"

#include <windows.h>

#include <functional>

namespace korvan::win {

class InteractiveCaptureWin32 final : public IInteractiveCapture {
public:
    int CaptureArea(const CaptureSettings& settings, imaging::Bitmap& image) override;
    int CaptureObject(const CaptureSettings& settings, imaging::Bitmap& image) override;
    int CaptureWindowUnderPointer(imaging::Bitmap& image) override;

    // For tests and the benchmark only.
    CaptureProbe& Probe() { return probe_; }

private:
    // Takes the image while the overlay still shows, so it is held at once.
    using Take = std::function<int(const ScreenPixels& frozen, const CaptureOverlay::Result& result, imaging::Bitmap& image)>;

    int RunAlone(imaging::Bitmap& image, const std::function<int(imaging::Bitmap&)>& capture);
    int ShowFrozenScreen(CaptureOverlay::Mode mode, const CaptureSettings& settings, imaging::Bitmap& image,
                         const Take& take);

    CaptureProbe probe_;
};

} // namespace korvan::win
