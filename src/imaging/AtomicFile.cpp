#include "imaging/AtomicFile.h"

#include "imaging/FileName.h"
#include "imaging/Status.h"

#include <atomic>
#include <chrono>
#include <string>

namespace korvan::imaging {
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
    cause_.clear();
    if (!IsValidFileName(target)) return kInvalidFilename;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path temp = TempNameBeside(target, attempt);
        IFileStore::Created created = store_.CreateNew(temp);
        if (created.file) {
            file_ = std::move(created.file);
            target_ = target;
            temp_ = temp;
            failed_ = false;
            return kSuccess;
        }
        cause_ = created.cause;
        if (!created.nameTaken) break;  // a missing or closed folder does not change by retrying
    }
    return kCannotOpenFile;
}

bool AtomicFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    if (size && !file_->Write(data, size)) {
        failed_ = true;
        cause_ = file_->Cause();
    }
    return !failed_;
}

int AtomicFile::Commit(bool failIfExists) {
    if (!file_) return kErrorWriting;
    bool closed = file_->Close();
    if (!closed && !failed_) cause_ = file_->Cause();
    file_.reset();
    if (failed_ || !closed) {
        Discard();
        return kErrorWriting;
    }
    int status = store_.MoveIntoPlace(temp_, target_, failIfExists, cause_);
    if (status != kSuccess) {
        Discard();
        return status;
    }
    temp_.clear();
    return kSuccess;
}

void AtomicFile::Discard() {
    if (file_) {
        (void)file_->Close();
        file_.reset();
    }
    if (!temp_.empty()) {
        store_.Remove(temp_);
        temp_.clear();
    }
}

} // namespace korvan::imaging
