#pragma once
// The imaging layer's interactive capture as a recorder: every call goes into the log,
// captures answer a chosen status and image.
#include "capture/InteractiveCapture.h"
#include "imaging/Status.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvan::fakes {

class FakeInteractiveCapture : public imaging::IInteractiveCapture {
public:
    std::vector<std::string> log;
    imaging::CaptureOptions options = imaging::DefaultCaptureOptions();
    imaging::AreaOptions areaDefaults = imaging::DefaultAreaOptions();
    std::vector<imaging::CaptureOptions> pushed;
    int status = imaging::kSuccess;
    int imagesPerCapture = 1;  // callbacks fired by a successful capture
    imaging::AreaOptions lastArea;
    imaging::ObjectOptions lastObject;
    imaging::HotKeyCallback hotKeyCallback = nullptr;
    void* hotKeyUserData = nullptr;

    int ImgGetDefaultAreaOption(imaging::AreaOptions& o) override { return Log("ImgGetDefaultAreaOption"), o = areaDefaults, 1; }
    int ImgGetDefaultObjectOption(imaging::ObjectOptions& o) override { return Log("ImgGetDefaultObjectOption"), o = imaging::DefaultObjectOptions(), 1; }
    int ImgGetCaptureOption(imaging::CaptureOptions& o) override { return Log("ImgGetCaptureOption"), o = options, 1; }
    int ImgSetCaptureOption(const imaging::CaptureOptions& o) override {
        Log("ImgSetCaptureOption");
        pushed.push_back(o);
        options = o;
        return 1;
    }
    int ImgCaptureSetHotKeyCallback(imaging::HotKeyCallback callback, void* userData) override {
        Log("ImgCaptureSetHotKeyCallback");
        hotKeyCallback = callback;
        hotKeyUserData = userData;
        return 1;
    }
    int ImgStopCapture() override { return Log("ImgStopCapture"), 1; }
    int ImgCaptureArea(imaging::Bitmap& bitmap, imaging::AreaOptions& o, imaging::CaptureInfo& info, imaging::CaptureCallback cb,
                       void* user) override {
        Log("ImgCaptureArea");
        lastArea = o;
        return Deliver(bitmap, info, cb, user);
    }
    int ImgCaptureSelectedObject(imaging::Bitmap& bitmap, imaging::ObjectOptions& o, imaging::CaptureInfo& info,
                                 imaging::CaptureCallback cb, void* user) override {
        Log("ImgCaptureSelectedObject");
        lastObject = o;
        return Deliver(bitmap, info, cb, user);
    }
    int ImgCaptureActiveWindow(imaging::Bitmap& bitmap, imaging::CaptureInfo& info, imaging::CaptureCallback cb,
                               void* user) override {
        Log("ImgCaptureActiveWindow");
        return Deliver(bitmap, info, cb, user);
    }
    int ImgInitBitmap(imaging::Bitmap& bitmap, int, int, int) override { return Log("ImgInitBitmap"), bitmap.Reset(), 1; }
    int ImgFreeBitmap(imaging::Bitmap& bitmap) override { return Log("ImgFreeBitmap"), bitmap.Reset(), 1; }

private:
    void Log(const std::string& entry) { log.push_back(entry); }
    int Deliver(imaging::Bitmap& bitmap, imaging::CaptureInfo& info, imaging::CaptureCallback cb, void* user) {
        if (status != imaging::kSuccess) return status;
        for (int page = 1; page <= imagesPerCapture; ++page) {
            imaging::Bitmap image;
            (void)imaging::Bitmap::Create(image, 4 + page, 3, 24);
            bitmap = std::move(image);
            info.kind = imaging::kCaptureKindArea;
            info.pageNumber = page;
            if (info.text && info.textSize > 0) info.text[0] = 'A';
            cb(&bitmap, &info, user);
        }
        return status;
    }
};

// Cursor table: ids 1 to 9 are known, each as handle 1000 + id; everything else is the
// default cursor 999. System colour i is 0x010000 + i.
class FakeDisplay : public imaging::IDisplayResources {
public:
    imaging::CursorHandle ScreenCursor(int id) override {
        if (id == -1) return 0;
        return id >= 1 && id <= 9 ? 1000 + id : 999;
    }
    imaging::RgbValue SystemColor(int index) override { return 0x010000u + static_cast<unsigned>(index); }
};

} // namespace korvan::fakes
