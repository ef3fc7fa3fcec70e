#include "settings/TargetDiscovery.h"

namespace korvan {

DiscoveryPath ChoosePath(SystemVersion version) {
    bool moduleName = version.platformId == kPlatformWin32Nt &&
                      (version.minor == 0 || version.minor == 1 || version.minor == 51);
    return moduleName ? DiscoveryPath::ModuleName : DiscoveryPath::Snapshot;
}

// Excel is "EXCEL.EXE" whichever way the name is found.
const char* ExecutableOf(int entry) {
    switch (entry) {
    case 1: return "WINWORD.EXE";
    case 2: return "EXCEL.EXE";
    case 3: return "POWERPNT.EXE";
    case 4: return "MSPAINT.EXE";
    default: return nullptr;
    }
}

std::string UpperCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string FileNamePart(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string TargetDiscovery::ExecutableName(WindowHandle window) const {
    uint32_t processId = system_.ProcessIdOf(window);
    std::string name;
    if (ChoosePath(system_.Version()) == DiscoveryPath::ModuleName) {
        name = system_.ModuleBaseName(processId);
    } else {
        // The walk runs to the end; the last entry with the process's id names it.
        for (const ProcessEntry& process : system_.Processes())
            if (process.processId == processId) name = FileNamePart(process.exeFile);
    }
    return UpperCaseAscii(name);
}

void TargetDiscovery::Examine(WindowHandle window, int entry, WindowHandle& target) const {
    const char* wanted = ExecutableOf(entry);
    if (!wanted) return;
    if (ExecutableName(window) == wanted && system_.IsVisible(window)) target = window;
}

} // namespace korvan
