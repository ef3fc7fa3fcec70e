#include "imaging/AtomicFile.h"

#include "imaging/FileName.h"
#include "imaging/Status.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <new>
#include <string>

namespace korvan::imaging {
namespace {

// Temporary files are named "~korvan-" and 16 lowercase hexadecimal digits ".tmp": short
// whatever the target's length, and recognisable when a crash leaves one behind.
constexpr char kTempPrefix[] = "~korvan-";
constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempDigits = 16;

uint64_t Mix(uint64_t x) {  // splitmix64's finaliser: nearby inputs give unrelated names
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::filesystem::path TempNameBeside(const std::filesystem::path& target) {
    static std::atomic<uint64_t> sequence{0};
    static const uint64_t process = Mix(reinterpret_cast<uintptr_t>(&sequence) ^
                                        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    const auto stamp = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    uint64_t value = Mix(process ^ Mix(stamp ^ (sequence++ << 48)));
    std::string digits(kTempDigits, '0');
    for (size_t i = kTempDigits; i-- > 0; value >>= 4) digits[i] = "0123456789abcdef"[value & 15];
    return target.parent_path() / (kTempPrefix + digits + kTempSuffix);
}

// Compared character by character in the system's own encoding (UTF-16 on Windows).
bool IsTempName(const std::filesystem::path& file) {
    const std::filesystem::path::string_type& name = file.native();
    const size_t prefix = sizeof kTempPrefix - 1, suffix = sizeof kTempSuffix - 1;
    if (name.size() != prefix + kTempDigits + suffix) return false;
    for (size_t i = 0; i < prefix; ++i)
        if (name[i] != static_cast<unsigned char>(kTempPrefix[i])) return false;
    for (size_t i = 0; i < suffix; ++i)
        if (name[prefix + kTempDigits + i] != static_cast<unsigned char>(kTempSuffix[i])) return false;
    for (size_t i = prefix; i < prefix + kTempDigits; ++i)
        if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f'))) return false;
    return true;
}

// Temporary files a crash left behind in the folder; one still being written stays.
void RemoveLeftovers(IFileStore& store, const std::filesystem::path& folder) {
    for (const std::filesystem::path& name : store.NamesIn(folder, kTempPrefix, kTempSuffix))
        if (IsTempName(name)) store.RemoveUnlessOpen(folder / name);
}

} // namespace

AtomicFile::~AtomicFile() {
    try {
        Discard();
    } catch (const std::bad_alloc&) {
        // The temporary file stays; the next save into its folder removes it.
    }
}

int AtomicFile::Open(const std::filesystem::path& target) {
    Discard();
    cause_.clear();
    if (!IsValidFileName(target)) return kInvalidFilename;
    RemoveLeftovers(store_, target.parent_path());
    target_ = target;  // every copy made before a file exists, so none can fail after
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path temp = TempNameBeside(target);
        IFileStore::Created created = store_.CreateNew(temp);
        if (created.file) {
            temp_ = std::move(temp);
            file_ = std::move(created.file);
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
    const bool flushed = file_->Flush();
    if (!flushed && !failed_) cause_ = file_->Cause();
    if (failed_ || !flushed) {
        Discard();
        return kErrorWriting;
    }
    // Moved while still open, so no other save's clean-up can take it for a leftover.
    int status = store_.MoveIntoPlace(temp_, target_, failIfExists, cause_);
    file_.reset();
    if (status != kSuccess) {
        Discard();
        return status;
    }
    temp_.clear();
    return kSuccess;
}

void AtomicFile::Discard() {
    file_.reset();
    if (!temp_.empty()) {
        store_.Remove(temp_);
        temp_.clear();
    }
}

} // namespace korvan::imaging
