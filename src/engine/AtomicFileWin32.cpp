#include "engine/AtomicFile.h"

#include "engine/SdkStatus.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace korvan::sdk {

std::FILE* AtomicFile::CreateNew(const std::filesystem::path& path) {
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "wb");
    if (!file) ::_close(fd);
    return file;
}

int AtomicFile::MoveIntoPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
                              bool failIfExists) {
    DWORD flags = MOVEFILE_WRITE_THROUGH | (failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (::MoveFileExW(temp.c_str(), target.c_str(), flags)) return kSuccess;
    DWORD error = ::GetLastError();
    return (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) ? kFileExists : kErrorWriting;
}

} // namespace korvan::sdk
