#include "settings/win32/ProcessLookupWin32.h"

#include "platform/win32/SystemAdapters.h"
#include "platform/win32/SystemLibrary.h"

#include <windows.h>
#include <tlhelp32.h>

namespace korvan::win {
namespace {

using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, tagPROCESSENTRY32*);  // the ANSI record

struct ProcessStatus {
    EnumProcessModulesFn enumModules = nullptr;
    GetModuleBaseNameFn baseName = nullptr;
};

struct ToolHelp {
    CreateSnapshotFn snapshot = nullptr;
    Process32Fn first = nullptr;
    Process32Fn next = nullptr;
};

template <typename Fn> Fn Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

const ProcessStatus& ProcessStatusService() {
    static const ProcessStatus service = [] {
        ProcessStatus found;
        HMODULE library = LoadSystemLibrary(L"PSAPI.dll");
        // Older loaders answered failures as values below 32.
        if (reinterpret_cast<uintptr_t>(library) < 32) return found;
        found.enumModules = Lookup<EnumProcessModulesFn>(library, "EnumProcessModules");
        found.baseName = Lookup<GetModuleBaseNameFn>(library, "GetModuleBaseNameA");
        return found;
    }();
    return service;
}

const ToolHelp& ToolHelpService() {
    static const ToolHelp service = [] {
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        return ToolHelp{Lookup<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot"),
                        Lookup<Process32Fn>(kernel, "Process32First"), Lookup<Process32Fn>(kernel, "Process32Next")};
    }();
    return service;
}

HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

} // namespace

SystemVersion ProcessLookupWin32::Version() const {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

uint32_t ProcessLookupWin32::ProcessIdOf(WindowHandle window) const {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(AsHwnd(window), &processId);
    return processId;
}

bool ProcessLookupWin32::IsVisible(WindowHandle window) const { return ::IsWindowVisible(AsHwnd(window)) != FALSE; }

std::string ProcessLookupWin32::ModuleBaseName(uint32_t processId) const {
    const ProcessStatus& service = ProcessStatusService();
    if (!service.enumModules || !service.baseName) return {};
    char name[261] = {};
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return {};
    HMODULE first = nullptr;
    DWORD needed = 0;
    // Room for exactly one module: the first is the executable.
    if (service.enumModules(process, &first, sizeof(first), &needed))
        service.baseName(process, first, name, sizeof(name));
    ::CloseHandle(process);
    name[sizeof(name) - 1] = '\0';
    return name;
}

std::vector<ProcessEntry> ProcessLookupWin32::Processes() const {
    const ToolHelp& service = ToolHelpService();
    std::vector<ProcessEntry> processes;
    if (!service.snapshot || !service.first || !service.next) return processes;
    HANDLE snapshot = service.snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    tagPROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);  // 296 on 32-bit systems, 304 on 64-bit ones
    for (BOOL more = service.first(snapshot, &entry); more; more = service.next(snapshot, &entry)) {
        entry.szExeFile[MAX_PATH - 1] = '\0';
        processes.push_back({entry.th32ProcessID, entry.szExeFile});
    }
    ::CloseHandle(snapshot);
    return processes;
}

std::wstring ProcessLookupWin32::ImagePath(uint32_t processId) const { return ProcessImagePath(processId); }

} // namespace korvan::win
