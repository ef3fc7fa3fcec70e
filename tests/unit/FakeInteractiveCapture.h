#pragma once
// The imaging layer's interactive capture as a recorder: every call goes into the log,
// captures answer a chosen status and image.
#include "engine/InteractiveCapture.h"
#include "engine/SdkStatus.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvan::fakes {

class FakeInteractiveCapture : public sdk::IInteractiveCapture {
public:
    std::vector<std::string> log;
    sdk::CaptureOptions options = sdk::DefaultCaptureOptions();
    sdk::AreaOptions areaDefaults = sdk::DefaultAreaOptions();
    std::vector<sdk::CaptureOptions> pushed;
    int status = sdk::kSuccess;
    int imagesPerCapture = 1;  // callbacks fired by a successful capture
    sdk::AreaOptions lastArea;
    sdk::ObjectOptions lastObject;
    sdk::HotKeyCallback hotKeyCallback = nullptr;
    void* hotKeyUserData = nullptr;

    int ImgGetDefaultAreaOption(sdk::AreaOptions& o) override { return Log("ImgGetDefaultAreaOption"), o = areaDefaults, 1; }
    int ImgGetDefaultObjectOption(sdk::ObjectOptions& o) override { return Log("ImgGetDefaultObjectOption"), o = sdk::DefaultObjectOptions(), 1; }
    int ImgGetCaptureOption(sdk::CaptureOptions& o) override { return Log("ImgGetCaptureOption"), o = options, 1; }
    int ImgSetCaptureOption(const sdk::CaptureOptions& o) override {
        Log("ImgSetCaptureOption");
        pushed.push_back(o);
        options = o;
        return 1;
    }
    int ImgCaptureSetHotKeyCallback(sdk::HotKeyCallback callback, void* userData) override {
        Log("ImgCaptureSetHotKeyCallback");
        hotKeyCallback = callback;
        hotKeyUserData = userData;
        return 1;
    }
    int ImgStopCapture() override { return Log("ImgStopCapture"), 1; }
    int ImgCaptureArea(sdk::SdkBitmap& bitmap, sdk::AreaOptions& o, sdk::CaptureInfo& info, sdk::CaptureCallback cb,
                       void* user) override {
        Log("ImgCaptureArea");
        lastArea = o;
        return Deliver(bitmap, info, cb, user);
    }
    int ImgCaptureSelectedObject(sdk::SdkBitmap& bitmap, sdk::ObjectOptions& o, sdk::CaptureInfo& info,
                                 sdk::CaptureCallback cb, void* user) override {
        Log("ImgCaptureSelectedObject");
        lastObject = o;
        return Deliver(bitmap, info, cb, user);
    }
    int ImgCaptureActiveWindow(sdk::SdkBitmap& bitmap, sdk::CaptureInfo& info, sdk::CaptureCallback cb,
                               void* user) override {
        Log("ImgCaptureActiveWindow");
        return Deliver(bitmap, info, cb, user);
    }
    int ImgInitBitmap(sdk::SdkBitmap& bitmap, int, int, int) override { return Log("ImgInitBitmap"), bitmap.Reset(), 1; }
    int ImgFreeBitmap(sdk::SdkBitmap& bitmap) override { return Log("ImgFreeBitmap"), bitmap.Reset(), 1; }

private:
    void Log(const std::string& entry) { log.push_back(entry); }
    int Deliver(sdk::SdkBitmap& bitmap, sdk::CaptureInfo& info, sdk::CaptureCallback cb, void* user) {
        if (status != sdk::kSuccess) return status;
        for (int page = 1; page <= imagesPerCapture; ++page) {
            sdk::SdkBitmap image;
            (void)sdk::SdkBitmap::Create(image, 4 + page, 3, 24);
            bitmap = std::move(image);
            info.kind = sdk::kCaptureKindArea;
            info.pageNumber = page;
            if (info.text && info.textSize > 0) info.text[0] = 'A';
            cb(&bitmap, &info, user);
        }
        return status;
    }
};

// Cursor table: ids 1 to 9 are known, each as handle 1000 + id; everything else is the
// default cursor 999. System colour i is 0x010000 + i.
class FakeDisplay : public sdk::IDisplayResources {
public:
    sdk::CursorHandle ScreenCursor(int id) override {
        if (id == -1) return 0;
        return id >= 1 && id <= 9 ? 1000 + id : 999;
    }
    sdk::RgbValue SystemColor(int index) override { return 0x010000u + static_cast<unsigned>(index); }
};

} // namespace korvan::fakes
