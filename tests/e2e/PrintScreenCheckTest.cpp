// The start-up look at Print Screen on a Windows 10 system: no question, and the system's
// setting stays as it was, whatever it holds. (This Wine cannot report Windows 11; the
// rule for it is tested natively through the version port.)
#include "app/PrintScreenCheck.h"
#include "e2e/Driver.h"

#include <gtest/gtest.h>

namespace korvan::e2e {
namespace {

// Wine tells a program the Windows version its application defaults name.
void ReportWindows10ToTheProgram() {
    std::wstring exe = Env(L"KORVAN_EXE");
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe.substr(exe.find_last_of(L"/\\") + 1);
    WriteString(key.c_str(), L"Version", L"win10");
}

TEST(PrintScreenCheck, Windows10IsNeverAskedAndItsSettingNeverTouched) {
    ReportWindows10ToTheProgram();
    for (std::optional<DWORD> stored : {std::optional<DWORD>(1), std::optional<DWORD>(0), std::optional<DWORD>()}) {
        SCOPED_TRACE(stored ? "value " + std::to_string(*stored) : std::string("no value"));
        if (stored) WriteDword(kKeyboardSettingsKey, kSnippingOnPrintScreenValue, *stored);
        else DeleteValue(kKeyboardSettingsKey, kSnippingOnPrintScreenValue);
        Program program;
        // The question would be up before the program handles this click: its start-up
        // look is queued ahead of any input.
        program.ClickButton(Id(Command::Info));
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(program.FindForm(L"TAboutfrm")) != 0; }));
        EXPECT_EQ(FindMessageBox(program.ProcessId(), L""), nullptr) << "asked about Print Screen";
        EXPECT_EQ(ReadDword(kKeyboardSettingsKey, kSnippingOnPrintScreenValue), stored);
        EXPECT_EQ(ReadDword(kProgramSettingsKey, kPrintScreenQuestionOffValue), std::nullopt);
    }
}

} // namespace
} // namespace korvan::e2e
