#pragma once
// Recording fakes of the capture commands' ports. Every call lands in one shared log,
// so a test can check the exact order of steps across windows and system calls.
#include "capture/CaptureCommands.h"
#include "imaging/ImagingPorts.h"
#include "imaging/Status.h"
#include "unit/settings/FakeOptions.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace korvan::fakes {

struct CallLog {
    std::vector<std::string> calls;
    void Add(std::string call) { calls.push_back(std::move(call)); }
};

inline std::string Str(long long v) { return std::to_string(v); }

class FakeGrabber final : public imaging::IScreenGrabber {
public:
    explicit FakeGrabber(CallLog& log) : log_(log) {}
    int GrabRect(imaging::DeviceContext dc, int left, int top, int right, int bottom, imaging::Bitmap& out) override {
        log_.Add("Grab(" + Str(static_cast<long long>(dc)) + "," + Str(left) + "," + Str(top) + "," + Str(right) + "," +
                 Str(bottom) + ")");
        if (status != imaging::kSuccess) return status;
        int s = imaging::Bitmap::Create(out, right - left, bottom - top, 24);
        if (s == imaging::kSuccess)
            for (int y = 0; y < out.Height(); ++y)
                for (int x = 0; x < out.Width(); ++x)
                    out.SetPixel(x, y, {static_cast<uint8_t>(left + x), static_cast<uint8_t>(top + y), 7});
        return s;
    }
    int status = imaging::kSuccess;

private:
    CallLog& log_;
};

class FakeClipboard final : public imaging::IClipboardWriter {
public:
    explicit FakeClipboard(CallLog& log) : log_(log) {}
    imaging::ClipboardResult CopyBitmap(imaging::WindowId, const imaging::Bitmap& bitmap, int flags) override {
        log_.Add("Copy(" + Str(flags) + ")");
        if (result.status == imaging::kSuccess) last = bitmap;
        return result;
    }
    void MakePromisedForms() override { log_.Add("MakePromisedForms"); }
    imaging::ClipboardResult result;
    imaging::Bitmap last;

private:
    CallLog& log_;
};

class FakeMainWindow final : public IMainWindowPosition {
public:
    explicit FakeMainWindow(CallLog& log) : log_(log) {}
    int Left() const override { return left; }
    int Width() const override { return width; }
    void SetLeft(int value) override {
        log_.Add("SetLeft(" + Str(value) + ")");
        left = value;
    }
    int left = 300, width = 410;

private:
    CallLog& log_;
};

class FakeForm final : public IWindowView {
public:
    FakeForm(CallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool Visible() const override { return visible; }
    void Show() override { log_.Add(name_ + ".Show"); visible = true; }
    void Close() override { log_.Add(name_ + ".Close"); visible = false; }
    void BringToFront() override { log_.Add(name_ + ".BringToFront"); }
    void ShowWithoutActivating() override {
        log_.Add(name_ + ".ShowWithoutActivating");
        visible = true;
    }
    bool visible = false;

private:
    CallLog& log_;
    std::string name_;
};

class FakeFrameArea final : public IFrameArea {
public:
    ScreenRect InsideRect() const override { return rect; }
    int InsideWidth() const override { return rect.Width(); }
    int InsideHeight() const override { return rect.Height(); }
    ScreenRect rect{540, 160, 790, 270};
};

// The system as the commands see it. A window restored or raised comes to the front at
// once, unless a thief takes the foreground then; a hung window answers nothing and lets
// the caller's wait run out; time moves only with the waits.
class FakeSystem final : public IWindowSystem, public IClock, public IKeyboard, public ICursors, public IFileSystem {
public:
    explicit FakeSystem(CallLog& log) : log_(log) {}
    void ShowWindow(WindowHandle window, int command) override {
        log_.Add("ShowWindow(" + Str(static_cast<long long>(window)) + "," + Str(command) + ")");
        if (command == kSwRestore) ComeToFront(window);
    }
    void BringWindowToTop(WindowHandle window) override {
        log_.Add("BringWindowToTop(" + Str(static_cast<long long>(window)) + ")");
        ComeToFront(window);
    }
    void RestoreApplication() override { log_.Add("RestoreApplication"); }
    ScreenSize PrimaryScreenSize() const override { return screen; }
    ScreenRect VirtualScreen() const override { return virtualScreen; }
    bool IsWindow(WindowHandle window) const override { return window != 0 && closedWindows.count(window) == 0; }
    bool Responds(WindowHandle window, int timeoutMs) override {
        if (!hungWindows.count(window)) return true;
        now += timeoutMs;
        return false;
    }
    bool IsHung(WindowHandle window) const override { return hungWindows.count(window) != 0; }
    bool IsEnabled(WindowHandle window) const override { return disabledWindows.count(window) == 0; }
    WindowHandle ForegroundRootOwner() const override {
        bool thiefInFront = thief != 0 && (thiefLeavesAt < 0 || now < thiefLeavesAt);
        return thiefInFront ? thief : foreground;
    }
    ProcessIdentity ProcessOf(WindowHandle window) const override {
        auto found = processes.find(window);
        return found == processes.end() ? ProcessIdentity{} : found->second;
    }
    void Sleep(int milliseconds) override {
        log_.Add("Sleep(" + Str(milliseconds) + ")");
        now += milliseconds;
    }
    int64_t Milliseconds() const override { return now; }
    int ScanCodeOf(int virtualKey) override {
        log_.Add("ScanCodeOf(" + Str(virtualKey) + ")");
        return virtualKey == kVkControl ? 29 : virtualKey == kVkV ? 47 : virtualKey - 100;
    }
    std::vector<int> HeldModifiers() const override { return heldModifiers; }
    void Type(const std::vector<KeyStroke>& strokes) override {
        std::string call = "Type(";
        for (const KeyStroke& k : strokes)
            call += (call.back() == '(' ? "" : " ") + Str(k.virtualKey) + "/" + Str(k.scanCode) + "/" + Str(k.flags);
        log_.Add(call + ")");
    }
    void SetWaitCursor() override { log_.Add("WaitCursor"); }
    void SetDefaultCursor() override { log_.Add("DefaultCursor"); }
    uintptr_t CopySystemCursor(int stockCursor) override {
        log_.Add("CopySystemCursor(" + Str(stockCursor) + ")");
        return static_cast<uintptr_t>(stockCursor - 32400);  // 112 arrow, 113 I-beam
    }
    void SetPickCursor(int systemCursor) override { log_.Add("SetPickCursor(" + Str(systemCursor) + ")"); }
    void RestoreSystemCursors(uintptr_t arrow, uintptr_t ibeam) override {
        log_.Add("RestoreSystemCursors(" + Str(static_cast<long long>(arrow)) + "," + Str(static_cast<long long>(ibeam)) + ")");
    }
    bool FileExists(const std::wstring& path) const override { return existing.count(path) != 0; }

    ScreenSize screen{64, 48};
    // A 410-pixel monitor left of the primary one: the main window (410 wide) moves to -820.
    ScreenRect virtualScreen{-410, 0, 64, 48};
    std::set<std::wstring> existing;
    std::set<WindowHandle> closedWindows, hungWindows, disabledWindows;
    std::map<WindowHandle, ProcessIdentity> processes;
    std::vector<int> heldModifiers;
    WindowHandle foreground = 0;  // the last window that came to the front
    WindowHandle thief = 0;       // in front instead of it, until thiefLeavesAt (ms)
    int64_t thiefLeavesAt = -1;
    int64_t now = 0;

private:
    void ComeToFront(WindowHandle window) {
        if (!hungWindows.count(window)) foreground = window;
    }
    CallLog& log_;
};

// The interactive capture: answers the status it is given and, on success, an image of
// the given size; keeps the settings of the last capture.
class FakeInteractiveCapture final : public IInteractiveCapture {
public:
    explicit FakeInteractiveCapture(CallLog& log) : log_(log) {}
    int CaptureArea(const CaptureSettings& s, imaging::Bitmap& image) override {
        static const char* const kShapes[] = {"Triangle", "Rectangle", "RoundRectangle", "Ellipse", "Polygon", "Freehand"};
        settings = s;
        return Run(std::string("CaptureArea(") + kShapes[static_cast<int>(s.shape)] + ")", image);
    }
    int CaptureObject(const CaptureSettings& s, imaging::Bitmap& image) override {
        settings = s;
        return Run("CaptureObject", image);
    }
    int CaptureWindowUnderPointer(imaging::Bitmap& image) override { return Run("CaptureWindowUnderPointer", image); }

    int status = imaging::kSuccess;
    int width = 40, height = 30;  // 0: success without an image
    CaptureSettings settings;
    std::function<void()> whileOpen;  // what happens while the capture runs (a key pressed)

private:
    int Run(std::string call, imaging::Bitmap& image) {
        log_.Add(std::move(call));
        if (whileOpen) whileOpen();
        if (status == imaging::kSuccess && width > 0 && imaging::Bitmap::Create(image, width, height, 24) == imaging::kSuccess)
            image.SetPixel(1, 2, {9, 8, 7});
        return status;
    }
    CallLog& log_;
};

class FakePickHelper final : public IPickHelper {
public:
    explicit FakePickHelper(CallLog& log) : log_(log) {}
    void SetCapture() override { log_.Add("Helper.SetCapture"); }
    void StopListening() override { log_.Add("Helper.StopListening"); }

private:
    CallLog& log_;
};

class FakeNotice final : public IUserNotice {
public:
    explicit FakeNotice(CallLog& log) : log_(log) {}
    void Tell(const std::string& text) override { log_.Add("Tell(" + text + ")"); }

private:
    CallLog& log_;
};

// Everything the commands need, wired together; the image control sits in a 288 x 207
// client area like the designed preview.
struct CaptureRig {
    CallLog log;
    FakeGrabber grabber{log};
    FakeClipboard clipboard{log};
    FakeMainWindow mainWindow{log};
    FakeForm preview{log, "Preview"};
    FakeForm frame{log, "Frame"};
    FakeFrameArea frameArea;
    FakeSystem system{log};
    test::FakeOptions options;
    ImageDocument image{grabber, clipboard};
    FakeInteractiveCapture capture{log};
    FakePickHelper pickHelper{log};
    FakeNotice notice{log};
    AutomaticSaving autoSave{system, system};
    CaptureCommands commands{CapturePorts{mainWindow, preview, frame, frameArea, system, system, system, system,
                                          autoSave, options, image, capture, pickHelper, notice}};

    CaptureRig() {
        image.SetCenterImage(true);
        image.SetControlSize(290, 209, 288, 207);
    }
    std::vector<std::string> TakeCalls() { return std::exchange(log.calls, {}); }
    // Paste directly into the program the options found, whose window is 5.
    void ChoosePasteTarget() {
        options.pasteDirectly = true;
        options.pasteTargetIndex = 4;
        options.targetWindow = 5;
    }
};

// The step lists the capture command tests compare against.
using Calls = std::vector<std::string>;

// Ctrl+V typed as four key events in one go, each scan code looked up for its event.
inline const Calls kCtrlV{"ScanCodeOf(17)", "ScanCodeOf(86)", "ScanCodeOf(86)", "ScanCodeOf(17)",
                          "Type(17/29/0 86/47/0 86/47/2 17/29/2)"};

inline Calls Join(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace korvan::fakes
