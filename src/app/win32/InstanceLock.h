#pragma once
// One running copy of the program per user and session. The first start holds a named
// mutex in the session's namespace and, once its windows exist, publishes its
// application window in a small named memory block; a second start finds the mutex
// taken, asks the first copy to come forward and ends before it touches anything (hot
// keys, cursors, registry).
#include "platform/win32/Handles.h"

#include <string>

namespace korvan::win {

// Names the system sees; the setup program checks the same mutex name.
inline constexpr wchar_t kInstanceMutexPrefix[] = L"Local\\KorvanScreenshot.Instance.";
inline constexpr wchar_t kInstanceWindowPrefix[] = L"Local\\KorvanScreenshot.Window.";
inline constexpr wchar_t kBringForwardMessage[] = L"KorvanScreenshot.BringForward";

// The registered message a second start posts to the first copy's application window.
UINT BringForwardMessage();

class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this is the only running copy (also when the lock could not be made at all:
    // the program then runs rather than not at all).
    bool First() const { return first_; }
    // The first copy: tells later starts which window to bring forward.
    void Publish(HWND applicationWindow);
    // A later start: asks the first copy to show itself, waiting a few seconds for a
    // copy that is still creating its windows. Answers whether the request was sent.
    bool BringFirstForward() const;

private:
    KernelHandle mutex_;
    KernelHandle windowBlock_;
    void* view_ = nullptr;
    bool first_ = true;
};

} // namespace korvan::win
