#include "imaging/ImagingPorts.h"
#include "imaging/Status.h"
#include "platform/win32/LongPath.h"

#include <windows.h>

namespace korvan::imaging {
namespace {

using win::ExtendedLengthPath;

// The system's text for an error code, as UTF-8 without the trailing line break.
std::string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "system error " + std::to_string(error);
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    return utf8;
}

class Win32File final : public IOutputFile {
public:
    Win32File() = default;
    ~Win32File() override {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    void Take(HANDLE handle) { handle_ = handle; }
    bool Write(const void* data, size_t size) override {
        auto p = static_cast<const char*>(data);
        while (size > 0) {
            DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!::WriteFile(handle_, p, chunk, &written, nullptr)) return Fail(::GetLastError());
            if (written == 0) return Fail(ERROR_DISK_FULL);
            p += written;
            size -= written;
        }
        return true;
    }
    bool Flush() override { return ::FlushFileBuffers(handle_) != 0 || Fail(::GetLastError()); }
    const std::string& Cause() const override { return cause_; }

private:
    bool Fail(DWORD error) {
        cause_ = SystemErrorText(error);
        return false;
    }
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string cause_;
};

class Win32Store final : public IFileStore {
public:
    Created CreateNew(const std::filesystem::path& path) override {
        Created result;
        auto file = std::make_unique<Win32File>();  // first, so no created file is lost for want of memory
        const std::wstring name = ExtendedLengthPath(path.wstring());
        // Shared for deleting only, so the open file can be moved into place.
        HANDLE handle =
            ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD error = ::GetLastError();
            result.nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
            result.cause = SystemErrorText(error);
            return result;
        }
        file->Take(handle);
        result.file = std::move(file);
        return result;
    }
    int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to, bool failIfExists,
                      std::string& cause) override {
        // A read-only file is the user's wish not to change it; not every file system says so.
        DWORD attributes = ::GetFileAttributesW(ExtendedLengthPath(to.wstring()).c_str());
        if (!failIfExists && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            cause = SystemErrorText(ERROR_ACCESS_DENIED);
            return kErrorWriting;
        }
        DWORD flags = MOVEFILE_WRITE_THROUGH | (failIfExists ? 0 : MOVEFILE_REPLACE_EXISTING);
        if (::MoveFileExW(ExtendedLengthPath(from.wstring()).c_str(), ExtendedLengthPath(to.wstring()).c_str(), flags))
            return kSuccess;
        DWORD error = ::GetLastError();
        cause = SystemErrorText(error);
        return (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) ? kFileExists : kErrorWriting;
    }
    void Remove(const std::filesystem::path& path) override {
        ::DeleteFileW(ExtendedLengthPath(path.wstring()).c_str());
    }
    std::vector<std::filesystem::path> NamesIn(const std::filesystem::path& folder, const std::string& prefix,
                                               const std::string& suffix) override {
        std::wstring pattern = (folder.empty() ? std::filesystem::path(L".") : folder).wstring() + L"\\" +
                               std::wstring(prefix.begin(), prefix.end()) + L"*" + std::wstring(suffix.begin(), suffix.end());
        std::vector<std::filesystem::path> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileExW(ExtendedLengthPath(pattern).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }
    void RemoveUnlessOpen(const std::filesystem::path& path) override {
        // Shared with no one: any handle open on the file, a save still writing it
        // included, refuses this one.
        HANDLE handle = ::CreateFileW(ExtendedLengthPath(path.wstring()).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};

} // namespace

IFileStore& DiskFileStore() {
    static Win32Store store;
    return store;
}

} // namespace korvan::imaging
