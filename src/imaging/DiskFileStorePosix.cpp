#include "imaging/ImagingPorts.h"
#include "imaging/Status.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::imaging {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

class PosixFile final : public IOutputFile {
public:
    PosixFile() = default;
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    void Take(int fd) { fd_ = fd; }
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
    bool Flush() override { return ::fsync(fd_) == 0 || errno == EINVAL || Fail(errno); }
    const std::string& Cause() const override { return cause_; }

private:
    bool Fail(int error) {
        cause_ = ErrnoText(error);
        return false;
    }
    int fd_ = -1;
    std::string cause_;
};

class PosixStore final : public IFileStore {
public:
    Created CreateNew(const std::filesystem::path& path) override {
        Created result;
        auto file = std::make_unique<PosixFile>();  // first, so no created file is lost for want of memory
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            int error = errno;
            result.nameTaken = error == EEXIST;
            result.cause = ErrnoText(error);
            return result;
        }
        ::flock(fd, LOCK_EX);  // held while open: RemoveUnlessOpen leaves the file alone
        file->Take(fd);
        result.file = std::move(file);
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
    std::vector<std::filesystem::path> NamesIn(const std::filesystem::path& folder, const std::string& prefix,
                                               const std::string& suffix) override {
        std::vector<std::filesystem::path> names;
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return names;
        while (const dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.emplace_back(name);
        }
        ::closedir(dir);
        return names;
    }
    void RemoveUnlessOpen(const std::filesystem::path& path) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) return;
        struct stat status{};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
};

} // namespace

IFileStore& DiskFileStore() {
    static PosixStore store;
    return store;
}

} // namespace korvan::imaging
