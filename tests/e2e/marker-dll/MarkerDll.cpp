// A DLL that only leaves a mark: loaded into a process, it creates the file of its own
// path with ".loaded" appended. Placed beside the program under the name of a system DLL
// it shows whether the program ever loaded it instead of the system's. It needs nothing
// but the kernel, so it loads wherever it is found.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t mark[MAX_PATH + 8] = {};
    DWORD length = ::GetModuleFileNameW(module, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    ::lstrcatW(mark, L".loaded");
    HANDLE file = ::CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return TRUE;
}
