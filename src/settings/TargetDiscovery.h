#pragma once
// Finding the window of the application that captures are pasted into: every top-level
// window is examined; a visible one whose process runs the chosen application's
// executable becomes the target, so the last match of the enumeration wins.
#include "platform/SystemPorts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvan {

struct SystemVersion {
    unsigned platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
};
inline constexpr unsigned kPlatformWin32Nt = 2;

struct ProcessEntry {
    uint32_t processId = 0;
    std::string exeFile;  // as the snapshot gives it, possibly with a path
};

// What the examination asks of the system. The process services are looked up when
// first used; a missing one answers as a failure does (empty name, no processes).
class IProcessLookup {
public:
    virtual ~IProcessLookup() = default;
    virtual SystemVersion Version() const = 0;
    virtual uint32_t ProcessIdOf(WindowHandle window) const = 0;
    virtual bool IsVisible(WindowHandle window) const = 0;
    // The base name of the process's first module (its executable); empty when the
    // process cannot be opened or its modules cannot be listed.
    virtual std::string ModuleBaseName(uint32_t processId) const = 0;
    // A snapshot of all running processes.
    virtual std::vector<ProcessEntry> Processes() const = 0;
    // The full path of the executable the process runs; empty when it cannot be told.
    virtual std::wstring ImagePath(uint32_t processId) const = 0;
};

enum class DiscoveryPath { ModuleName, Snapshot };

// NT-family systems with minor version 0, 1 or 51 read the module name; all others
// walk a process snapshot.
DiscoveryPath ChoosePath(SystemVersion version);
// The executable of an entry of the application list: 1 Winword, 2 Excel, 3 Powerpoint,
// 4 MSPaint; nullptr for entry 0 ("< Applications >") and anything else.
const char* ExecutableOf(int entry);
// Letters a to z upper-cased, nothing else changed.
std::string UpperCaseAscii(std::string text);
// The part after the last path separator.
std::string FileNamePart(const std::string& path);

class TargetDiscovery {
public:
    explicit TargetDiscovery(const IProcessLookup& system) : system_(system) {}

    // Sets target to the window when it is visible and its process runs the entry's executable.
    void Examine(WindowHandle window, int entry, WindowHandle& target) const;
    // The upper-cased executable name of the window's process, by the path of this system.
    std::string ExecutableName(WindowHandle window) const;

private:
    const IProcessLookup& system_;
};

} // namespace korvan
