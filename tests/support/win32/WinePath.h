#pragma once
// Paths handed from the Linux side (the test environment) to programs under Wine.
#include <windows.h>

#include <string>

namespace korvan::test {

// A Unix path as Wine programs reach it, through drive Z:; any other path unchanged.
inline std::wstring WindowsPath(std::wstring path) {
    if (path.empty() || path[0] != L'/') return path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

// The path an environment variable names, as Wine programs reach it; empty when unset.
inline std::wstring PathFromEnvironment(const wchar_t* name) {
    DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), length));
    return WindowsPath(value);
}

} // namespace korvan::test
