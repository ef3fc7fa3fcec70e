#include "app/win32/PrintScreenCheckWin32.h"

#include "app/MessageTexts.h"
#include "platform/win32/StringTableWin32.h"

#include <commctrl.h>

#include <string>

namespace korvan::win {
namespace {

constexpr wchar_t kTitle[] = L"Korvan Screenshot";

std::wstring Text(MessageText text) {
    return StringTableWin32().Text(MessageTextId(text, ::GetSystemDefaultLangID()));
}

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// The task dialog comes with the common controls of version 6, which the program's
// manifest asks for; without them a plain yes/no question does.
TaskDialogIndirectFunction FindTaskDialog() {
    HMODULE controls = ::LoadLibraryW(L"comctl32.dll");
    if (!controls) return nullptr;
    return reinterpret_cast<TaskDialogIndirectFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(controls, "TaskDialogIndirect")));
}

} // namespace

WindowsVersion WindowsVersionWin32::Read() const {
    // RtlGetVersion tells the truth; GetVersionEx answers what the manifest declares.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto getVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                  reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")))
                            : nullptr;
    OSVERSIONINFOW info{sizeof(info)};
    if (!getVersion || getVersion(&info) != 0) return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

PrintScreenAnswer PrintScreenQuestionWin32::Ask() {
    std::wstring heading = Text(MessageText::PrintScreenHeading);
    std::wstring explanation = Text(MessageText::PrintScreenExplanation);
    std::wstring switchOff = Text(MessageText::PrintScreenSwitchOff);
    std::wstring leaveOn = Text(MessageText::PrintScreenLeaveOn);
    std::wstring leaveOnForGood = Text(MessageText::PrintScreenLeaveOnForGood);
    TaskDialogIndirectFunction taskDialog = FindTaskDialog();
    if (!taskDialog) {
        std::wstring text = heading + L"\n\n" + explanation;
        bool yes = ::MessageBoxW(owner_, text.c_str(), kTitle, MB_YESNO | MB_ICONINFORMATION) == IDYES;
        return yes ? PrintScreenAnswer::SwitchOff : PrintScreenAnswer::LeaveOn;
    }
    // Three buttons rather than a check box: the answer is one click, and each reads whole.
    const TASKDIALOG_BUTTON buttons[] = {{kSwitchOffButton, switchOff.c_str()},
                                         {kLeaveOnButton, leaveOn.c_str()},
                                         {kLeaveOnForGoodButton, leaveOnForGood.c_str()}};
    TASKDIALOGCONFIG config{sizeof(config)};
    config.hwndParent = owner_;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = kTitle;
    config.pszMainIcon = TD_INFORMATION_ICON;
    config.pszMainInstruction = heading.c_str();
    config.pszContent = explanation.c_str();
    config.cButtons = static_cast<UINT>(std::size(buttons));
    config.pButtons = buttons;
    config.nDefaultButton = kSwitchOffButton;
    int button = 0;
    if (FAILED(taskDialog(&config, &button, nullptr, nullptr))) return PrintScreenAnswer::LeaveOn;
    if (button == kSwitchOffButton) return PrintScreenAnswer::SwitchOff;
    return button == kLeaveOnForGoodButton ? PrintScreenAnswer::LeaveOnForGood : PrintScreenAnswer::LeaveOn;
}

} // namespace korvan::win
