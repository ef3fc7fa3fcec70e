#include "imaging/ImagingPorts.h"
#include "imaging/Status.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::imaging {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

class PosixFile final : public IOutputFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Write(const void* data, size_t size) override {
        auto p = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t written = ::write(fd_, p, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return Fail(written < 0 ? errno : ENOSPC);
            p += written;
            size -= static_cast<size_t>(written);
        }
        return true;
    }
    bool Close() override {
        if (fd_ < 0) return cause_.empty();
        bool synced = ::fsync(fd_) == 0 || errno == EINVAL;
        int error = errno;
        bool closed = ::close(fd_) == 0;
        if (!closed) error = errno;
        fd_ = -1;
        return (synced && closed) || Fail(error);
    }
    const std::string& Cause() const override { return cause_; }

private:
    bool Fail(int error) {
        cause_ = ErrnoText(error);
        return false;
    }
    int fd_;
    std::string cause_;
};

class PosixStore final : public IFileStore {
public:
    Created CreateNew(const std::filesystem::path& path) override {
        Created result;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            int error = errno;
            result.nameTaken = error == EEXIST;
            result.cause = ErrnoText(error);
            return result;
        }
        result.file = std::make_unique<PosixFile>(fd);
        return result;
    }
    int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to, bool failIfExists,
                      std::string& cause) override {
        if (!failIfExists) {
            // A read-only file is the user's wish not to change it, also for root.
            struct stat target{};
            if (::stat(to.c_str(), &target) == 0 && (target.st_mode & 0222) == 0) {
                cause = ErrnoText(EACCES);
                return kErrorWriting;
            }
            if (::rename(from.c_str(), to.c_str()) == 0) return kSuccess;
            cause = ErrnoText(errno);
            return kErrorWriting;
        }
        // link() refuses an existing name atomically; the temporary name goes afterwards.
        if (::link(from.c_str(), to.c_str()) != 0) {
            int error = errno;
            cause = ErrnoText(error);
            return error == EEXIST ? kFileExists : kErrorWriting;
        }
        ::unlink(from.c_str());
        return kSuccess;
    }
    void Remove(const std::filesystem::path& path) override { ::unlink(path.c_str()); }
};

} // namespace

IFileStore& DiskFileStore() {
    static PosixStore store;
    return store;
}

} // namespace korvan::imaging
