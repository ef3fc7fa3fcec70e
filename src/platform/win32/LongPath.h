#pragma once
// Paths of any length for the file functions: an absolute path in the extended form
// ("\\?\C:\..." or "\\?\UNC\server\share\..."), which is not cut at 260 characters.
#include <windows.h>

#include <string>

namespace korvan::win {

inline std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.empty() || path.rfind(L"\\\\?\\", 0) == 0) return path;
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    if (full.rfind(L"\\\\.\\", 0) == 0) return full;  // a device, left as the system names it
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace korvan::win
