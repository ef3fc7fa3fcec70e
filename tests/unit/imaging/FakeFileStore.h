#pragma once
// An in-memory disk for saving: files by name, and failures on demand (a folder that
// refuses new files, a disk that fills up while writing, a target that cannot be replaced).
#include "imaging/ImagingPorts.h"
#include "imaging/Status.h"

#include <map>
#include <vector>

namespace korvan::fakes {

class FakeFileStore final : public imaging::IFileStore {
public:
    using Bytes = std::vector<uint8_t>;
    std::map<std::filesystem::path, Bytes> files;
    std::string createFailure;   // CreateNew fails with this cause when set
    long long spaceLeft = -1;    // bytes the disk takes before it is full; -1: no limit
    std::string moveFailure;     // MoveIntoPlace fails with this cause when set
    std::map<std::filesystem::path, int> open;  // files with an open IOutputFile, and how many

    Created CreateNew(const std::filesystem::path& path) override {
        Created result;
        if (files.count(path)) {
            result.nameTaken = true;
            result.cause = "File exists";
        } else if (path.filename().native().size() > 255) {
            result.cause = "File name too long";
        } else if (!createFailure.empty()) {
            result.cause = createFailure;
        } else {
            auto file = std::make_unique<File>(*this, path);
            files[path];
            result.file = std::move(file);
        }
        return result;
    }
    int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to, bool failIfExists,
                      std::string& cause) override {
        if (!moveFailure.empty()) {
            cause = moveFailure;
            return imaging::kErrorWriting;
        }
        if (failIfExists && files.count(to)) {
            cause = "File exists";
            return imaging::kFileExists;
        }
        files.insert_or_assign(to, std::move(files.at(from)));  // all or nothing, as a rename
        files.erase(from);
        return imaging::kSuccess;
    }
    void Remove(const std::filesystem::path& path) override { files.erase(path); }
    std::vector<std::filesystem::path> NamesIn(const std::filesystem::path& folder, const std::string& prefix,
                                               const std::string& suffix) override {
        std::vector<std::filesystem::path> names;
        for (const auto& [path, bytes] : files) {
            std::string name = path.filename().string();
            if (path.parent_path() == folder && name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
                name.ends_with(suffix))
                names.push_back(path.filename());
        }
        return names;
    }
    void RemoveUnlessOpen(const std::filesystem::path& path) override {
        if (!open.count(path)) files.erase(path);
    }

private:
    class File final : public imaging::IOutputFile {
    public:
        File(FakeFileStore& store, std::filesystem::path path) : store_(store), path_(std::move(path)) { ++store_.open[path_]; }
        ~File() override {
            if (--store_.open[path_] == 0) store_.open.erase(path_);
        }
        bool Write(const void* data, size_t size) override {
            auto p = static_cast<const uint8_t*>(data);
            for (size_t i = 0; i < size; ++i) {
                if (store_.spaceLeft == 0) {
                    cause_ = "There is not enough space on the disk.";
                    return false;
                }
                if (store_.spaceLeft > 0) --store_.spaceLeft;
                store_.files[path_].push_back(p[i]);
            }
            return true;
        }
        bool Flush() override { return cause_.empty(); }
        const std::string& Cause() const override { return cause_; }

    private:
        FakeFileStore& store_;
        std::filesystem::path path_;
        std::string cause_;
    };
};

} // namespace korvan::fakes
