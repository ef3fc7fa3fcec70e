#pragma once
// A DLL of the system, loaded from the system folder only: a file of the same name beside
// the program (say, in a downloads folder) never runs in its place.
#include <windows.h>

namespace korvan::win {

inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace korvan::win
