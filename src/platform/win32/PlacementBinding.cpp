#include "platform/win32/PlacementBinding.h"

#include "platform/win32/Text.h"
#include "platform/win32/WindowBase.h"

#include <exception>
#include <set>
#include <utility>

namespace korvan::win {
namespace {

// A placement that cannot be stored is told once per run, not at every close.
void ShowInErrorBox(HWND window, const std::string& message) {
    static std::set<std::string> told;
    if (told.insert(message).second) ShowErrorBox(window, Widen(message));
}

} // namespace

PlacementBinding::PlacementBinding(HWND window, HWND mainWindow, const PlacementSetup& setup)
    : PlacementBinding(window, mainWindow, setup, ProgramRegistry(), &ShowInErrorBox) {}

PlacementBinding::PlacementBinding(HWND window, HWND mainWindow, const PlacementSetup& setup, IRegistry& registry,
                                   ErrorReporter reportError)
    : hwnd_(window),
      window_(window, mainWindow, setup.traits),
      store_(registry, window_, setup.options),
      reportError_(std::move(reportError)) {}

template <typename Step> void PlacementBinding::Guarded(Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        reportError_(hwnd_, error.what());
    } catch (...) {
        reportError_(hwnd_, "Unexpected error");
    }
}

void PlacementBinding::PlaceHidden() {
    Guarded([this] { store_.PlaceHidden(); });
}

void PlacementBinding::OnShow() {
    Guarded([this] { store_.OnShow(); });
}

void PlacementBinding::OnCloseQuery(bool canClose) {
    Guarded([this, canClose] { store_.OnCloseQuery(canClose); });
}

void PlacementBinding::OnDestroy() {
    if (!::IsWindow(hwnd_)) return;  // already gone: there is no placement left to save
    Guarded([this] { store_.OnDestroy(); });
}

} // namespace korvan::win
