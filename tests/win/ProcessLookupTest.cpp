#include "settings/win32/ProcessLookupWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace korvan::win {
namespace {

// Both ways to the executable's name find this test program.
TEST(ProcessLookup, FindsTheTestProgramByModuleNameAndSnapshot) {
    ProcessLookupWin32 lookup;
    uint32_t self = ::GetCurrentProcessId();
    EXPECT_EQ(UpperCaseAscii(lookup.ModuleBaseName(self)), "WIN_TESTS.EXE");
    std::vector<ProcessEntry> processes = lookup.Processes();
    auto entry = std::find_if(processes.begin(), processes.end(), [&](const ProcessEntry& p) { return p.processId == self; });
    ASSERT_NE(entry, processes.end());
    EXPECT_EQ(UpperCaseAscii(FileNamePart(entry->exeFile)), "WIN_TESTS.EXE");
    EXPECT_EQ(lookup.ModuleBaseName(0xFFFFFFF0u), "") << "a process that cannot be opened has no name";
    EXPECT_EQ(lookup.Version().platformId, kPlatformWin32Nt);
}

TEST(ProcessLookup, AWindowOfThisProcessIsNamedAndVisibleOnlyWhenShown) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    ProcessLookupWin32 lookup;
    auto handle = reinterpret_cast<WindowHandle>(window);
    EXPECT_EQ(lookup.ProcessIdOf(handle), ::GetCurrentProcessId());
    EXPECT_EQ(TargetDiscovery(lookup).ExecutableName(handle), "WIN_TESTS.EXE");
    EXPECT_FALSE(lookup.IsVisible(handle));
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(lookup.IsVisible(handle));
    ::DestroyWindow(window);
}

} // namespace
} // namespace korvan::win
