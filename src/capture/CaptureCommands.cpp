#include "capture/CaptureCommands.h"

#include "capture/ZoomFactor.h"
#include "imaging/Status.h"

#include <iterator>

namespace korvan {

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
    ComputeZoomFactor();
    DeliverImage();
    ShowPreview();
    AutoSaveImage();
}

void CaptureCommands::CaptureFrameInside() {
    ScreenRect panel = p_.frameArea.InsideRect();
    p_.image.Capture(0, panel.left, panel.top, p_.frameArea.InsideWidth(), p_.frameArea.InsideHeight());
}

void CaptureCommands::PrintScreenPressed() {
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
    WithRestoreOnError([&] {
        p_.clock.Sleep(kDesktopWaitMs);
        ScreenSize screen = p_.system.PrimaryScreenSize();
        p_.image.Capture(0, 0, 0, screen.width, screen.height);
        // The zoom is not recomputed here: the preview keeps the previous capture's zoom.
        HotKeyDelivery();
        ShowPreview();
    });
    RestoreAfterCapture();
    AutoSaveImage();
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
        ComputeZoomFactor();
        DeliverImage();
        ShowPreview();
        AutoSaveImage();
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
        int status = (this->*grab)(image);
        TakeCapturedImage(status, image);
    });
    RestoreAfterCapture();
}

void CaptureCommands::TakeCapturedImage(int status, const imaging::Bitmap& image) {
    bool captured = status >= 0 && !image.Empty();
    p_.image.SetBitmap(captured ? &image : nullptr);
    if (!captured) return;
    ComputeZoomFactor();
    DeliverImage();
    ShowPreview();
    AutoSaveImage();
}

void CaptureCommands::ArmWindowPick() {
    SavedArrowCursor = p_.cursors.CopySystemCursor(kIdcArrow);
    SavedIBeamCursor = p_.cursors.CopySystemCursor(kIdcIBeam);
    try {
        p_.cursors.SetPickCursor(kOcrNormal);
        p_.cursors.SetPickCursor(kOcrIBeam);
        CloseOthers();
        MinimizeTargetApp();
        p_.pickHelper.SetCapture();
        WindowPickArmed = true;
        MoveOffScreen();
        p_.clock.Sleep(kInteractiveWaitMs);
    } catch (...) {
        // Nobody would ever end the pick: call it off, cursors and window back.
        WindowPickArmed = false;
        p_.pickHelper.CancelPick();
        RestoreAfterCapture();
        throw;
    }
}

void CaptureCommands::FinishWindowPick() {
    // The helper hears of one press per pick, however many ways it reaches it.
    if (!WindowPickArmed) return;
    WindowPickArmed = false;
    RestoreAfterCapture();
    imaging::Bitmap image;
    int status = GrabWindow(image);
    TakeCapturedImage(status, image);
}

void CaptureCommands::CancelWindowPick() {
    if (!WindowPickArmed) return;
    WindowPickArmed = false;
    p_.pickHelper.CancelPick();
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
    p_.mainWindow.SetLeft(-2 * p_.mainWindow.Width());
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
    if (!TargetExists()) return;
    p_.system.ShowWindow(target, kSwRestore);
    if (!o.HideTarget()) p_.system.BringWindowToTop(target);
    TypeCtrlV();
}

void CaptureCommands::HotKeyDelivery() {
    const IOptionsSettings& o = p_.options;
    if (!o.CopyToClipboard()) return;
    p_.image.Copy(kClipboardFlags);
    if (!o.PasteDirectly() || o.PasteTargetIndex() <= 0) return;
    // Without a live target the keys would land in whatever window has the focus.
    if (!TargetExists()) return;
    p_.system.ShowWindow(o.TargetWindow(), kSwHide);
    p_.system.ShowWindow(o.TargetWindow(), kSwRestore);
    TypeCtrlV();
}

bool CaptureCommands::TargetExists() const {
    WindowHandle target = p_.options.TargetWindow();
    return target != 0 && p_.system.IsWindow(target);
}

void CaptureCommands::TypeCtrlV() {
    // The scan code is looked up anew for every event.
    p_.keyboard.KeyEvent(kVkControl, p_.keyboard.ScanCodeOf(kVkControl), 0);
    p_.keyboard.KeyEvent(kVkV, p_.keyboard.ScanCodeOf(kVkV), 0);
    p_.keyboard.KeyEvent(kVkV, p_.keyboard.ScanCodeOf(kVkV), kKeyEventKeyUp);
    p_.keyboard.KeyEvent(kVkControl, p_.keyboard.ScanCodeOf(kVkControl), kKeyEventKeyUp);
}

void CaptureCommands::ShowPreview() {
    if (!p_.options.ShowPreviewWindow()) return;
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
