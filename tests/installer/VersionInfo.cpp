// Prints a file's version resource as Explorer's properties read it, one "Name=value"
// line each: the fixed file and product version, then the strings of its first language.
// Usage: VersionInfo FILE     (exit status 1 when the file has no version resource)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <vector>

namespace {

const wchar_t* const kStringNames[] = {L"ProductName",      L"ProductVersion", L"FileVersion",
                                       L"FileDescription",  L"CompanyName",    L"OriginalFilename",
                                       L"LegalCopyright"};

void PrintUtf8(const wchar_t* name, const wchar_t* value) {
    char buffer[1024];
    int length = ::WideCharToMultiByte(CP_UTF8, 0, value, -1, buffer, sizeof(buffer), nullptr, nullptr);
    std::printf("%ls=%s\n", name, length > 0 ? buffer : "");
}

void PrintFixed(const char* name, DWORD high, DWORD low) {
    std::printf("%s=%u.%u.%u.%u\n", name, HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(argv[1], &ignored);
    if (size == 0) return 1;
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(argv[1], 0, size, data.data())) return 1;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        PrintFixed("FixedFileVersion", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
        PrintFixed("FixedProductVersion", fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    }
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        length < sizeof(Translation))
        return 1;
    for (const wchar_t* name : kStringNames) {
        wchar_t path[128];
        std::swprintf(path, std::size(path), L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage,
                      name);
        wchar_t* value = nullptr;
        if (::VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &length) && value)
            PrintUtf8(name, value);
    }
    return 0;
}
