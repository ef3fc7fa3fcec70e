#include "capture/win32/ShotCaptureWin32.h"

#include "capture/win32/DisplayResourcesWin32.h"
#include "capture/win32/InteractiveCaptureWin32.h"

namespace korvan::imaging {

std::unique_ptr<TShotCapture> CreateShotCapture(std::string name) {
    static DisplayResourcesWin32 display;
    return std::make_unique<TShotCapture>(InteractiveCaptureWin32::Instance(), display, std::move(name));
}

std::unique_ptr<TShotCapture> CreateMainWindowShotCapture() {
    auto capture = CreateShotCapture("ShotCapture");
    ApplyMainWindowSettings(*capture);
    return capture;
}

} // namespace korvan::imaging
