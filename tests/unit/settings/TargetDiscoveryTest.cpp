#include "settings/TargetDiscovery.h"

#include <gtest/gtest.h>

#include <map>

namespace korvan {
namespace {

class FakeProcesses final : public IProcessLookup {
public:
    SystemVersion Version() const override { return version; }
    uint32_t ProcessIdOf(WindowHandle window) const override { return static_cast<uint32_t>(window / 10); }
    bool IsVisible(WindowHandle window) const override { return window % 10 != 0; }  // x0: hidden
    std::string ModuleBaseName(uint32_t processId) const override {
        auto found = names.find(processId);
        return found == names.end() ? std::string() : found->second;
    }
    std::vector<ProcessEntry> Processes() const override { return snapshot; }
    std::wstring ImagePath(uint32_t) const override { return {}; }

    SystemVersion version;
    std::map<uint32_t, std::string> names;
    std::vector<ProcessEntry> snapshot;
};

TEST(TargetDiscovery, PathByVersion) {
    struct Case {
        SystemVersion version;
        DiscoveryPath path;
    };
    const auto moduleName = DiscoveryPath::ModuleName, snapshot = DiscoveryPath::Snapshot;
    for (Case c : {Case{{2, 3, 51}, moduleName}, Case{{2, 4, 0}, moduleName}, Case{{2, 5, 0}, moduleName},
                   Case{{2, 5, 1}, moduleName}, Case{{2, 6, 0}, moduleName}, Case{{2, 6, 1}, moduleName},
                   Case{{2, 10, 0}, moduleName}, Case{{2, 5, 2}, snapshot}, Case{{2, 6, 2}, snapshot},
                   Case{{2, 6, 3}, snapshot}, Case{{1, 4, 10}, snapshot}, Case{{1, 4, 0}, snapshot},
                   Case{{0, 3, 1}, snapshot}})
        EXPECT_EQ(ChoosePath(c.version), c.path) << c.version.platformId << " " << c.version.major << "." << c.version.minor;
}

TEST(TargetDiscovery, ExecutablesAndNames) {
    EXPECT_EQ(ExecutableOf(0), nullptr);
    EXPECT_STREQ(ExecutableOf(1), "WINWORD.EXE");
    EXPECT_STREQ(ExecutableOf(2), "EXCEL.EXE");
    EXPECT_STREQ(ExecutableOf(3), "POWERPNT.EXE");
    EXPECT_STREQ(ExecutableOf(4), "MSPAINT.EXE");
    EXPECT_EQ(ExecutableOf(5), nullptr);
    EXPECT_EQ(ExecutableOf(-1), nullptr);
    EXPECT_EQ(UpperCaseAscii("msPaint.exe \xC3\xA4z"), "MSPAINT.EXE \xC3\xA4Z");
    EXPECT_EQ(FileNamePart("C:\\Program Files\\Office\\WINWORD.EXE"), "WINWORD.EXE");
    EXPECT_EQ(FileNamePart("excel.exe"), "excel.exe");
}

// Windows are numbered process id x 10 + n; n = 0 is a hidden window.
TEST(TargetDiscovery, MatchingOnBothPaths) {
    struct Case {
        const char* name;
        int entry;
        std::string executable;
        std::vector<WindowHandle> windows;  // in Z order, top first
        WindowHandle target;
    };
    const Case cases[] = {
        {"lowest visible match wins", 4, "mspaint.exe", {51, 52, 61, 53}, 53},
        {"hidden windows never match", 4, "MSPAINT.EXE", {50}, 0},
        {"Excel is EXCEL.EXE", 2, "EXCEL.EXE", {51}, 51},
        {"not a DOS host", 2, "NTVDM.EXE", {51}, 0},
        {"whole names only", 1, "XWINWORD.EXE", {51}, 0},
        {"no entry chosen", 0, "WINWORD.EXE", {51}, 0},
        {"no name (process not opened)", 3, "", {51}, 0},
        {"Powerpoint", 3, "powerpnt.exe", {51}, 51},
    };
    for (bool snapshotPath : {false, true}) {
        for (const Case& c : cases) {
            FakeProcesses system;
            system.version = snapshotPath ? SystemVersion{2, 6, 2} : SystemVersion{2, 6, 1};
            system.names = {{5, c.executable}, {6, "other.exe"}};
            system.snapshot = {{6, "C:\\x\\other.exe"}, {5, "C:\\Apps\\" + c.executable}};
            if (c.executable.empty()) system.snapshot.pop_back();
            TargetDiscovery discovery(system);
            WindowHandle target = 0;
            for (WindowHandle window : c.windows) discovery.Examine(window, c.entry, target);
            EXPECT_EQ(target, c.target) << c.name << (snapshotPath ? " (snapshot)" : " (module name)");
        }
    }
}

TEST(TargetDiscovery, SnapshotWalkTakesTheLastEntryOfTheProcess) {
    FakeProcesses system;
    system.version = {1, 4, 10};
    system.snapshot = {{5, "MSPAINT.EXE"}, {5, "C:/bin/Winword.exe"}, {7, "MSPAINT.EXE"}};
    EXPECT_EQ(TargetDiscovery(system).ExecutableName(51), "WINWORD.EXE");
    system.snapshot.clear();  // tool-help service missing
    EXPECT_EQ(TargetDiscovery(system).ExecutableName(51), "");
}

} // namespace
} // namespace korvan
