#pragma once
// The Win32 side of the start-up look at Print Screen: the kernel's version and the
// question, a task dialog in the program's language.
#include "app/PrintScreenCheck.h"

#include <windows.h>

namespace korvan::win {

class WindowsVersionWin32 final : public ISystemVersion {
public:
    WindowsVersion Read() const override;
};

class PrintScreenQuestionWin32 final : public IPrintScreenQuestion {
public:
    explicit PrintScreenQuestionWin32(HWND owner) : owner_(owner) {}
    PrintScreenAnswer Ask() override;

    static constexpr int kSwitchOffButton = 100;
    static constexpr int kLeaveOnButton = 101;
    static constexpr int kLeaveOnForGoodButton = 102;

private:
    HWND owner_;
};

} // namespace korvan::win
