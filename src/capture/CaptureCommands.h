#pragma once
// The capture commands of the main window and the pipeline steps they share: move the
// program out of the picture, wait, grab, zoom, deliver, preview, save automatically,
// bring the main window back.
#include "capture/CapturePorts.h"
#include "image/ImageDocument.h"
#include "saving/AutomaticSaving.h"

#include <exception>
#include <string>

namespace korvan {

struct CapturePorts {
    IMainWindowPosition& mainWindow;
    IWindowView& preview;
    IWindowView& frame;
    IFrameArea& frameArea;
    IWindowSystem& system;
    IClock& clock;
    IKeyboard& keyboard;
    ICursors& cursors;
    IAutomaticSaving& autoSave;
    const IOptionsSettings& options;
    ImageDocument& image;
    IInteractiveCapture& interactiveCapture;
    IPickHelper& pickHelper;
    IUserNotice& notice;
};

// The shape drawn for an entry of the options dialog's shape list; no selection (or an
// unknown entry) draws a rectangle.
AreaShape AreaShapeOf(int shapeListIndex);

class CaptureCommands {
public:
    explicit CaptureCommands(const CapturePorts& ports) : p_(ports) {}

    // Grabber frame: show it, or capture its inside when it is shown.
    void CaptureFrame();
    // Full desktop capture.
    void CaptureDesktop();
    // Print Screen: the frame's inside when the frame is shown, the desktop otherwise. An
    // armed window pick is called off first; while an area or object capture shows its
    // overlay the key does nothing.
    void PrintScreenPressed();
    // Area drawn with the mouse, in the shape chosen in the options.
    void CaptureArea();
    // A window or control picked on the screen.
    void CaptureObject();
    // Window capture, first half: arms the pick; the next mouse press anywhere ends it.
    void ArmWindowPick();
    // Window capture, second half: the helper received the press.
    void FinishWindowPick();
    // Ends an armed pick without a capture (Escape, or the program ending): the image
    // document is emptied and the main window and the system cursors come back.
    void CancelWindowPick();

    // Pipeline steps.
    void CloseOthers();
    void MinimizeTargetApp();
    void MoveOffScreen();
    void ComputeZoomFactor();
    int ZoomFactor() const;
    void DeliverImage();
    void HotKeyDelivery();
    void ShowPreview();
    void AutoSaveImage();
    void RestoreAfterCapture();

    int SavedLeft = 0;
    bool MovedAway = false;
    uintptr_t SavedArrowCursor = 0;
    uintptr_t SavedIBeamCursor = 0;
    // Between ArmWindowPick and the press that ends the pick.
    bool WindowPickArmed = false;

    static constexpr int kDesktopWaitMs = 500;
    static constexpr int kInteractiveWaitMs = 200;
    static constexpr int kClipboardFlags = 3;
    static constexpr const char* kNotPastedText =
        "Not pasted: the target application did not come to the front. The picture is on the clipboard.";

private:
    void CaptureFrameInside();
    void PrintScreenWithFrame();
    void PrintScreenWithoutFrame();
    void MinimizeTargetUnchecked();
    void InteractiveCapture(int (CaptureCommands::*grab)(imaging::Bitmap&));
    int GrabArea(imaging::Bitmap& image);
    int GrabObject(imaging::Bitmap& image);
    int GrabWindow(imaging::Bitmap& image);
    // Hands the captured image to the document and delivers it; a failed or cancelled
    // grab empties the document instead.
    void TakeCapturedImage(int status, const imaging::Bitmap& image);
    // Zoom, delivery, preview and automatic save of a captured image.
    void DeliverShowAndSave();
    // Delivery that lets a clipboard failure wait: the image is still saved, then the
    // failure reaches the user.
    std::exception_ptr DeliverKeepingTheError(void (CaptureCommands::*delivery)());
    void SaveThenReport(std::exception_ptr clipboardError);
    // The target window exists and still belongs to the program it was found in.
    bool TargetIsTheChosenOne() const;
    bool HasPasteTarget() const;
    // Types Ctrl+V once the restored target is in front; otherwise tells the user, once
    // for the same target until a paste into it succeeds.
    void PasteWhenInFront(WindowHandle target);
    // Runs a command body; on an error puts the main window back first, then lets the
    // error reach the user.
    template <typename Body> void WithRestoreOnError(Body body);

    CapturePorts p_;
    bool interactiveCaptureOpen_ = false;
    WindowHandle notPastedTold_ = 0;
};

} // namespace korvan
