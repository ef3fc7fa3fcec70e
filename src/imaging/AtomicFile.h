#pragma once
// A file written under a temporary name beside its target and moved into place only
// when complete. Destroying an uncommitted AtomicFile removes the temporary file; one a
// crash left behind is removed by the next AtomicFile opened in that folder.
#include "imaging/ByteSink.h"
#include "imaging/ImagingPorts.h"

#include <filesystem>
#include <memory>
#include <string>

namespace korvan::imaging {

class AtomicFile final : public ByteSink {
public:
    explicit AtomicFile(IFileStore& store = DiskFileStore()) : store_(store) {}
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file (removing earlier ones no program has open). Answers
    // kSuccess, kInvalidFilename or kCannotOpenFile.
    [[nodiscard]] int Open(const std::filesystem::path& target);
    bool Write(const void* data, size_t size) override;
    // Closes the temporary file and moves it over the target (or, with failIfExists,
    // beside no existing file). Answers kSuccess, kErrorWriting or kFileExists.
    [[nodiscard]] int Commit(bool failIfExists);
    // Why the last step failed, in the system's words ("" when it did not say).
    const std::string& Cause() const { return cause_; }

private:
    void Discard();

    IFileStore& store_;
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::unique_ptr<IOutputFile> file_;
    bool failed_ = false;
    std::string cause_;
};

} // namespace korvan::imaging
