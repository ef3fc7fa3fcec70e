#include "capture/CaptureCommands.h"

#include "capture/TargetPaste.h"
#include "capture/ZoomFactor.h"
#include "imaging/Status.h"

#include <iterator>

namespace korvan {
namespace {

// Holds the flag up for as long as the scope runs, however it ends.
class FlagWhileInScope {
public:
    explicit FlagWhileInScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagWhileInScope() { flag_ = false; }
    FlagWhileInScope(const FlagWhileInScope&) = delete;
    FlagWhileInScope& operator=(const FlagWhileInScope&) = delete;

private:
    bool& flag_;
};

} // namespace

template <typename Body> void CaptureCommands::WithRestoreOnError(Body body) {
    try {
        body();
    } catch (...) {
        RestoreAfterCapture();
        throw;
    }
}

void CaptureCommands::CaptureFrame() {
    if (p_.preview.Visible()) p_.preview.Close();
    if (!p_.frame.Visible()) {
        p_.frame.Show();
        return;
    }
    // The frame is topmost and stays: what shows through its inner panel is captured.
    MinimizeTargetApp();
    CaptureFrameInside();
    DeliverShowAndSave();
}

void CaptureCommands::CaptureFrameInside() {
    ScreenRect panel = p_.frameArea.InsideRect();
    p_.image.Capture(0, panel.left, panel.top, p_.frameArea.InsideWidth(), p_.frameArea.InsideHeight());
}

void CaptureCommands::PrintScreenPressed() {
    // The overlay shows a frozen picture of the screen: capturing it would capture that.
    if (interactiveCaptureOpen_) return;
    // The pick's cursors and listening must not outlive it.
    CancelWindowPick();
    if (p_.frame.Visible()) PrintScreenWithFrame();
    else PrintScreenWithoutFrame();
}

void CaptureCommands::PrintScreenWithFrame() {
    MinimizeTargetUnchecked();
    CaptureFrameInside();
    ComputeZoomFactor();
    HotKeyDelivery();
    ShowPreview();
}

void CaptureCommands::PrintScreenWithoutFrame() {
    MinimizeTargetUnchecked();
    if (p_.preview.Visible()) p_.preview.Close();
    MoveOffScreen();
    std::exception_ptr clipboardError;
    WithRestoreOnError([&] {
        p_.clock.Sleep(kDesktopWaitMs);
        ScreenSize screen = p_.system.PrimaryScreenSize();
        p_.image.Capture(0, 0, 0, screen.width, screen.height);
        // The zoom is not recomputed here: the preview keeps the previous capture's zoom.
        clipboardError = DeliverKeepingTheError(&CaptureCommands::HotKeyDelivery);
        if (!clipboardError) ShowPreview();
    });
    RestoreAfterCapture();
    SaveThenReport(clipboardError);
}

// Print Screen minimises the target without testing the handle (a zero handle does nothing).
void CaptureCommands::MinimizeTargetUnchecked() {
    if (p_.options.HideTarget() && p_.options.PasteTargetEnabled())
        p_.system.ShowWindow(p_.options.TargetWindow(), kSwMinimize);
}

void CaptureCommands::CaptureDesktop() {
    CloseOthers();
    MoveOffScreen();
    WithRestoreOnError([&] {
        MinimizeTargetApp();
        p_.clock.Sleep(kDesktopWaitMs);
        ScreenSize screen = p_.system.PrimaryScreenSize();
        p_.image.Capture(0, 0, 0, screen.width, screen.height);
        DeliverShowAndSave();
    });
    RestoreAfterCapture();
}

AreaShape AreaShapeOf(int shapeListIndex) {
    static constexpr AreaShape kListed[] = {AreaShape::Rectangle, AreaShape::RoundRectangle, AreaShape::Triangle,
                                            AreaShape::Polygon,   AreaShape::Ellipse,        AreaShape::Freehand};
    if (shapeListIndex < 0 || shapeListIndex >= static_cast<int>(std::size(kListed))) return AreaShape::Rectangle;
    return kListed[shapeListIndex];
}

void CaptureCommands::CaptureArea() { InteractiveCapture(&CaptureCommands::GrabArea); }

void CaptureCommands::CaptureObject() { InteractiveCapture(&CaptureCommands::GrabObject); }

int CaptureCommands::GrabArea(imaging::Bitmap& image) {
    CaptureSettings settings;
    settings.shape = AreaShapeOf(p_.options.AreaShapeIndex());
    return p_.interactiveCapture.CaptureArea(settings, image);
}

int CaptureCommands::GrabObject(imaging::Bitmap& image) {
    return p_.interactiveCapture.CaptureObject(CaptureSettings{}, image);
}

int CaptureCommands::GrabWindow(imaging::Bitmap& image) { return p_.interactiveCapture.CaptureWindowUnderPointer(image); }

void CaptureCommands::InteractiveCapture(int (CaptureCommands::*grab)(imaging::Bitmap&)) {
    CloseOthers();
    MinimizeTargetApp();
    MoveOffScreen();
    WithRestoreOnError([&] {
        p_.clock.Sleep(kInteractiveWaitMs);
        imaging::Bitmap image;
        int status;
        {
            FlagWhileInScope open(interactiveCaptureOpen_);
            status = (this->*grab)(image);
        }
        TakeCapturedImage(status, image);
    });
    RestoreAfterCapture();
}

void CaptureCommands::TakeCapturedImage(int status, const imaging::Bitmap& image) {
    bool captured = status >= 0 && !image.Empty();
    p_.image.SetBitmap(captured ? &image : nullptr);
    if (captured) DeliverShowAndSave();
}

void CaptureCommands::DeliverShowAndSave() {
    ComputeZoomFactor();
    std::exception_ptr clipboardError = DeliverKeepingTheError(&CaptureCommands::DeliverImage);
    if (!clipboardError) ShowPreview();
    SaveThenReport(clipboardError);
}

std::exception_ptr CaptureCommands::DeliverKeepingTheError(void (CaptureCommands::*delivery)()) {
    try {
        (this->*delivery)();
    } catch (const ImageError&) {
        return std::current_exception();
    }
    return nullptr;
}

// A clipboard another program holds must not cost the file the user asked for.
void CaptureCommands::SaveThenReport(std::exception_ptr clipboardError) {
    try {
        AutoSaveImage();
    } catch (const ImageError& saveError) {
        if (!clipboardError) throw;
        try {
            std::rethrow_exception(clipboardError);
        } catch (const ImageError& copyError) {
            // Both reach the user, in one message.
            throw ImageError(std::string(copyError.what()) + "\n\n" + saveError.what(), saveError.Code());
        }
    }
    if (clipboardError) std::rethrow_exception(clipboardError);
}

void CaptureCommands::ArmWindowPick() {
    SavedArrowCursor = p_.cursors.CopySystemCursor(kIdcArrow);
    SavedIBeamCursor = p_.cursors.CopySystemCursor(kIdcIBeam);
    try {
        p_.cursors.SetPickCursor(kOcrNormal);
        p_.cursors.SetPickCursor(kOcrIBeam);
        CloseOthers();
        MinimizeTargetApp();
        p_.clock.Sleep(kInteractiveWaitMs);
        // Nothing may wait while the helper listens, so it starts after the wait; the main
        // window leaves last, so once it is gone every press ends the pick.
        WindowPickArmed = true;
        p_.pickHelper.SetCapture();
        MoveOffScreen();
    } catch (...) {
        // Nobody would ever end the pick: call it off, cursors and window back.
        WindowPickArmed = false;
        p_.pickHelper.StopListening();
        RestoreAfterCapture();
        throw;
    }
}

void CaptureCommands::FinishWindowPick() {
    // The helper hears of one press per pick, however many ways it reaches it.
    if (!WindowPickArmed) return;
    WindowPickArmed = false;
    // Nothing may capture while the helper listens.
    p_.pickHelper.StopListening();
    RestoreAfterCapture();
    imaging::Bitmap image;
    int status = GrabWindow(image);
    TakeCapturedImage(status, image);
}

void CaptureCommands::CancelWindowPick() {
    if (!WindowPickArmed) return;
    WindowPickArmed = false;
    p_.pickHelper.StopListening();
    p_.image.SetBitmap(nullptr);
    RestoreAfterCapture();
}

void CaptureCommands::CloseOthers() {
    if (p_.frame.Visible()) p_.frame.Close();
    if (p_.preview.Visible()) p_.preview.Close();
}

void CaptureCommands::MinimizeTargetApp() {
    const IOptionsSettings& o = p_.options;
    if (o.HideTarget() && o.PasteTargetEnabled() && o.TargetWindow() != 0)
        p_.system.ShowWindow(o.TargetWindow(), kSwMinimize);
}

void CaptureCommands::MoveOffScreen() {
    if (MovedAway) return;
    SavedLeft = p_.mainWindow.Left();
    MovedAway = true;
    // Left of every monitor, so no capture of any monitor shows it (a fixed negative
    // place would lie on a monitor left of the primary one).
    p_.mainWindow.SetLeft(p_.system.VirtualScreen().left - p_.mainWindow.Width());
}

int CaptureCommands::ZoomFactor() const {
    return ComputeZoomPercent(p_.image.DisplayedWidth(), p_.image.DisplayedHeight(), p_.image.Width(),
                              p_.image.Height());
}

void CaptureCommands::ComputeZoomFactor() { p_.image.SetPaintZoomFactor(ZoomFactor()); }

void CaptureCommands::DeliverImage() {
    const IOptionsSettings& o = p_.options;
    if (!o.CopyToClipboard()) return;
    p_.image.Copy(kClipboardFlags);
    if (!o.PasteDirectly()) return;
    if (!o.PasteTargetEnabled() || o.PasteTargetIndex() <= 0) return;
    WindowHandle target = o.TargetWindow();
    if (!TargetIsTheChosenOne()) return;
    // Complete before the target pastes: a clipboard reader asking for a promised form
    // would otherwise hold the clipboard open while it is made, just when the target
    // opens it.
    p_.image.CompleteClipboardCopy();
    p_.system.ShowWindow(target, kSwRestore);
    if (!o.HideTarget()) p_.system.BringWindowToTop(target);
    PasteWhenInFront(target);
}

void CaptureCommands::HotKeyDelivery() {
    const IOptionsSettings& o = p_.options;
    if (!o.CopyToClipboard()) return;
    p_.image.Copy(kClipboardFlags);
    if (!o.PasteDirectly() || o.PasteTargetIndex() <= 0) return;
    // Without a live target the keys would land in whatever window has the focus.
    if (!TargetIsTheChosenOne()) return;
    p_.image.CompleteClipboardCopy();
    p_.system.ShowWindow(o.TargetWindow(), kSwHide);
    p_.system.ShowWindow(o.TargetWindow(), kSwRestore);
    PasteWhenInFront(o.TargetWindow());
}

// A closed target's handle may have been given to another program's window since.
bool CaptureCommands::TargetIsTheChosenOne() const {
    WindowHandle target = p_.options.TargetWindow();
    return target != 0 && p_.system.IsWindow(target) && p_.system.ProcessOf(target) == p_.options.TargetProcess();
}

bool CaptureCommands::HasPasteTarget() const {
    const IOptionsSettings& o = p_.options;
    return o.CopyToClipboard() && o.PasteDirectly() && o.PasteTargetIndex() > 0 && o.TargetWindow() != 0;
}

void CaptureCommands::PasteWhenInFront(WindowHandle target) {
    if (WaitUntilInFront(p_.system, p_.clock, target) && !p_.system.IsHung(target)) {
        p_.keyboard.Type(CtrlVStrokes(p_.keyboard));
        notPastedTold_ = 0;
        return;
    }
    if (notPastedTold_ == target) return;
    notPastedTold_ = target;
    p_.notice.Tell(kNotPastedText);
}

// With a paste target the preview must not take the foreground from it: the target may
// not have handled the typed keys yet.
void CaptureCommands::ShowPreview() {
    if (!p_.options.ShowPreviewWindow()) return;
    if (HasPasteTarget()) {
        p_.preview.ShowWithoutActivating();
        return;
    }
    p_.preview.Show();
    p_.preview.BringToFront();
}

void CaptureCommands::AutoSaveImage() {
    if (p_.options.AutoSave()) p_.autoSave.SaveCapture(p_.image);
}

void CaptureCommands::RestoreAfterCapture() {
    if (MovedAway) p_.mainWindow.SetLeft(SavedLeft);
    SavedLeft = 0;
    MovedAway = false;
    p_.system.RestoreApplication();
    if (SavedArrowCursor != 0 || SavedIBeamCursor != 0) {
        p_.cursors.RestoreSystemCursors(SavedArrowCursor, SavedIBeamCursor);
        SavedArrowCursor = SavedIBeamCursor = 0;
    }
}

} // namespace korvan
