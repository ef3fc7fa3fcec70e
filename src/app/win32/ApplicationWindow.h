#pragma once
// The application's window: never seen itself (it has no size), it is the one entry of
// the program in the task bar and in Alt+Tab, titled "Korvan Screenshot" with the program
// icon, and it owns every other window, so minimising it takes them all away and
// restoring it brings them back.
#include "platform/win32/WindowBase.h"

#include <deque>
#include <functional>

namespace korvan::win {

class ApplicationWindow final : public WindowBase<ApplicationWindow> {
public:
    explicit ApplicationWindow(const wchar_t* title);
    ~ApplicationWindow() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window that the task-bar entry activates and that its Close closes.
    void SetMainWindow(HWND main) { main_ = main; }
    // Puts the entry into the task bar; call when the main window is shown.
    void Show();
    // Runs work once the current message is handled (the hot key conflicts' notice).
    void Post(std::function<void()> work);
    // Windows is ending the session (log-off, shut-down, an installer's restart manager):
    // asked first, then told that it ends. Either may be the last message the program gets.
    void OnSessionEnd(std::function<void()> asked, std::function<void()> ending) {
        sessionAsked_ = std::move(asked);
        sessionEnding_ = std::move(ending);
    }

private:
    void ActivateLastWindow();
    // A second start asked for this copy: restored if minimised, the window the user
    // worked in last (the main window at first) comes to the front.
    void BringForward();
    HWND LastWindow() const;

    HWND main_ = nullptr;
    bool minimized_ = false;
    std::deque<std::function<void()>> posted_;
    std::function<void()> sessionAsked_, sessionEnding_;
};

} // namespace korvan::win
