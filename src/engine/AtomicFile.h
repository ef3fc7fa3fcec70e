#pragma once
// A file written under a temporary name beside its target and moved into place only
// when complete. Destroying an uncommitted AtomicFile removes the temporary file.
#include "engine/ByteSink.h"

#include <cstdio>
#include <filesystem>

namespace korvan::sdk {

class AtomicFile final : public ByteSink {
public:
    AtomicFile() = default;
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. Answers kSuccess, kInvalidFilename or kCannotOpenFile.
    [[nodiscard]] int Open(const std::filesystem::path& target);
    bool Write(const void* data, size_t size) override;
    // Closes the temporary file and moves it over the target (or, with failIfExists,
    // beside no existing file). Answers kSuccess, kErrorWriting or kFileExists.
    [[nodiscard]] int Commit(bool failIfExists);

private:
    void Discard();
    // Platform part: moves temp to target; answers kSuccess, kFileExists or kErrorWriting.
    static int MoveIntoPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
                             bool failIfExists);
    static std::FILE* CreateNew(const std::filesystem::path& path);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

} // namespace korvan::sdk
