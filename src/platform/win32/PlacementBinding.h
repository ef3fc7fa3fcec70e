#pragma once
// The placement store a window owns: restores its placement when it is shown and saves
// it when it is closed or destroyed. The window calls the three hooks; errors never
// leave them, they are reported (by default in the application's error box) and the
// window goes on showing, closing or being destroyed.
#include "platform/PlacementStore.h"
#include "platform/win32/PlacementWindowWin32.h"
#include "platform/win32/RegistryWin32.h"

#include <functional>
#include <string>

namespace korvan::win {

struct PlacementSetup {
    PlacementOptions options = PlacementOption::State | PlacementOption::Position;
    PlacementWindowTraits traits;
};

class PlacementBinding {
public:
    using ErrorReporter = std::function<void(HWND window, const std::string& message)>;

    // mainWindow: the application's main window (the window itself for the main window).
    PlacementBinding(HWND window, HWND mainWindow, const PlacementSetup& setup);
    // For tests: another registry and another way of reporting errors.
    PlacementBinding(HWND window, HWND mainWindow, const PlacementSetup& setup, IRegistry& registry,
                     ErrorReporter reportError);
    PlacementBinding(const PlacementBinding&) = delete;
    PlacementBinding& operator=(const PlacementBinding&) = delete;

    // Call once the window is made, for a window that other code moves before its first
    // show: it is put where it was stored, still hidden.
    void PlaceHidden();
    // Call just before the window is shown.
    void OnShow();
    // Call once the window's own close handling has decided; saves only when closing goes on.
    void OnCloseQuery(bool canClose = true);
    // Call from WM_DESTROY, while the window handle is still valid.
    void OnDestroy();

    PlacementStore& Store() { return store_; }
    // The position rule after restores: a centred window that got a stored place no longer
    // centres itself.
    PositionRule Position() const { return window_.Position(); }

private:
    template <typename Step> void Guarded(Step step);

    HWND hwnd_;
    PlacementWindowWin32 window_;
    PlacementStore store_;
    ErrorReporter reportError_;
};

} // namespace korvan::win
