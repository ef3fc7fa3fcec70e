#include "engine/AtomicFile.h"

#include "engine/SdkStatus.h"

#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

namespace korvan::sdk {
namespace {

std::filesystem::path TempNameBeside(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> sequence{0};
    auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::wstring suffix = L".~" + std::to_wstring(stamp % 1000000007ULL) + L"-" +
                          std::to_wstring(sequence++) + L"-" + std::to_wstring(attempt) + L".tmp";
    std::filesystem::path temp = target;
    temp += suffix;
    return temp;
}

} // namespace

AtomicFile::~AtomicFile() { Discard(); }

int AtomicFile::Open(const std::filesystem::path& target) {
    Discard();
    if (target.empty() || !target.has_filename()) return kInvalidFilename;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path temp = TempNameBeside(target, attempt);
        std::error_code ec;
        if (std::filesystem::exists(temp, ec)) continue;
        file_ = CreateNew(temp);
        if (file_) {
            target_ = target;
            temp_ = temp;
            failed_ = false;
            return kSuccess;
        }
        if (!std::filesystem::exists(temp.parent_path().empty() ? "." : temp.parent_path(), ec)) break;
    }
    return kCannotOpenFile;
}

bool AtomicFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    if (size && std::fwrite(data, 1, size, file_) != size) failed_ = true;
    return !failed_;
}

int AtomicFile::Commit(bool failIfExists) {
    if (!file_) return kErrorWriting;
    bool flushed = std::fflush(file_) == 0;
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !flushed || !closed) {
        Discard();
        return kErrorWriting;
    }
    int status = MoveIntoPlace(temp_, target_, failIfExists);
    if (status != kSuccess) {
        Discard();
        return status;
    }
    temp_.clear();
    return kSuccess;
}

void AtomicFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}

} // namespace korvan::sdk
