// A DLL that only leaves a mark: loaded into a process, it creates the file of its own
// path with ".loaded" appended. Placed beside the program under the name of a system DLL
// it shows whether the program ever loaded it instead of the system's.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    std::wstring mark = std::wstring(path, length) + L".loaded";
    HANDLE file = ::CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return TRUE;
}
