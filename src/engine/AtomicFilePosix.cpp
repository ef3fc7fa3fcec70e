#include "engine/AtomicFile.h"

#include "engine/SdkStatus.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace korvan::sdk {

std::FILE* AtomicFile::CreateNew(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) ::close(fd);
    return file;
}

int AtomicFile::MoveIntoPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
                              bool failIfExists) {
    if (!failIfExists) return ::rename(temp.c_str(), target.c_str()) == 0 ? kSuccess : kErrorWriting;
    // link() refuses an existing name atomically; the temporary name goes afterwards.
    if (::link(temp.c_str(), target.c_str()) != 0) return errno == EEXIST ? kFileExists : kErrorWriting;
    ::unlink(temp.c_str());
    return kSuccess;
}

} // namespace korvan::sdk
