#pragma once
// What the imaging layer needs from the system: the screen's pixels and the clipboard.
// Win32 adapters implement these; tests use fakes.
#include "imaging/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace korvan::imaging {

// A device context handle, 0 meaning "the whole screen's".
using DeviceContext = uintptr_t;
// A window handle as a number (0: none).
using WindowId = uintptr_t;

class IScreenGrabber {
public:
    virtual ~IScreenGrabber() = default;
    // Grabs the rectangle (left, top, right, bottom in screen pixels) into out.
    // Answers kSuccess or a negative status; out is untouched on failure.
    virtual int GrabRect(DeviceContext dc, int left, int top, int right, int bottom, Bitmap& out) = 0;
};

struct ClipboardResult {
    int status = kSuccessValue;
    std::string detail;  // why, when the status is not success (who holds the clipboard)
    static constexpr int kSuccessValue = 1;
};

class IClipboardWriter {
public:
    virtual ~IClipboardWriter() = default;
    // Replaces the clipboard's content with the image (flags 3: empty first, then place).
    virtual ClipboardResult CopyBitmap(WindowId owner, const Bitmap& bitmap, int flags) = 0;
    // The same for an image no one changes any more: a writer that makes a form later, when
    // a program asks for it, may keep the image itself instead of a copy.
    virtual ClipboardResult CopySharedBitmap(WindowId owner, std::shared_ptr<const Bitmap> bitmap, int flags) {
        return CopyBitmap(owner, *bitmap, flags);
    }
    // Makes every form still promised now. A program that reads the clipboard then holds it
    // open only as long as copying takes, not as long as making the form would.
    virtual void MakePromisedForms() {}
};

// A file being written, open until destroyed; every failure keeps the system's reason
// for the user.
class IOutputFile {
public:
    virtual ~IOutputFile() = default;
    [[nodiscard]] virtual bool Write(const void* data, size_t size) = 0;
    // Writes everything through to the disk; the file stays open.
    [[nodiscard]] virtual bool Flush() = 0;
    virtual const std::string& Cause() const = 0;
};

// Where saved files go: the disk, or a fake that fails on purpose in tests. Paths of
// any length are accepted.
class IFileStore {
public:
    virtual ~IFileStore() = default;
    struct Created {
        std::unique_ptr<IOutputFile> file;  // null on failure
        bool nameTaken = false;             // a file of that name exists already
        std::string cause;
    };
    // Creates a file that did not exist before. While it is open, RemoveUnlessOpen leaves
    // it alone; MoveIntoPlace may still move it.
    virtual Created CreateNew(const std::filesystem::path& path) = 0;
    // Moves a complete file over the target (or, failIfExists, only beside no file of
    // that name). Answers kSuccess, kFileExists or kErrorWriting with the cause.
    virtual int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to, bool failIfExists,
                              std::string& cause) = 0;
    virtual void Remove(const std::filesystem::path& path) = 0;
    // Names of the files in the folder ("" for the current one) that begin with prefix and
    // end with suffix (both ASCII).
    virtual std::vector<std::filesystem::path> NamesIn(const std::filesystem::path& folder, const std::string& prefix,
                                                       const std::string& suffix) = 0;
    // Removes the file unless some program has it open (a file still being written stays).
    virtual void RemoveUnlessOpen(const std::filesystem::path& path) = 0;
};

// The real disk.
IFileStore& DiskFileStore();

} // namespace korvan::imaging
