#pragma once
// A file that appears complete or not at all. Everything goes to a temporary file beside the
// target (its name followed by ".XXXXXX.tmp"), which replaces the target only on Commit:
// flushed to disk, given the old file's permissions and owner (on Windows its attributes), and
// renamed over it (MoveFileExW with write-through on Windows). Without a Commit (a failure, an
// exception) the temporary file is removed and an existing target stays as it was.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/Errors.h"

namespace vireon {

// What went wrong, as "<path>: <what>[: <system's reason>]", with the pieces kept apart for
// callers that report failures in their own words.
class AtomicFileError : public Error {
public:
    enum class Kind {
        Refused,  // what is at the path may not be replaced (a directory, a device, read-only)
        Create,   // the new file could not be made or put in place
        Write,    // the disk took fewer bytes than asked, or could not sync them
    };
    // error: errno, or on Windows GetLastError's code; 0 when no system call failed.
    AtomicFileError(std::string path, Kind kind, const std::string& what, int error);

    const std::string& Path() const { return path_; }
    Kind GetKind() const { return kind_; }
    int SystemError() const { return error_; }

private:
    std::string path_;
    Kind kind_;
    int error_;
};

// What AtomicFile gathers before it writes to the disk.
inline constexpr std::size_t AtomicFileBufferSize = 1 << 16;

class AtomicFile {
public:
    // What to do with a writable file in a folder that takes no new file (an administrator's
    // set-up): fail, or rewrite the file itself at Commit. A rewrite is synced but not atomic:
    // a crash part-way can leave it cut short, so it suits small files only. The data is then
    // held in memory until Commit.
    enum class InPlace { Refuse, Allow };

    // Creates the temporary file at once, so that an unwritable place is reported before any
    // work. A symbolic link is followed to the file it names, which need not exist yet; the
    // link itself stays. Refuses an empty name, a link that cannot be followed, and anything
    // but a writable regular file at the path (read-only counts even for root, who could
    // otherwise replace it; on Windows the read-only attribute). Throws AtomicFileError.
    explicit AtomicFile(std::string path, InPlace inPlace = InPlace::Refuse);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Buffered; a large block goes straight to the file. Throws AtomicFileError.
    void Write(const void* data, std::size_t size);
    // Writes out, syncs and renames over the target, once. Throws AtomicFileError.
    void Commit();
    // The name as given, for messages.
    const std::string& Path() const { return path_; }

    // Removes the temporary files that earlier writers of the same target left behind when they
    // were killed part-way, if they are older than minimumAge: a younger one may be another
    // process's save in progress. Only names of the form "<target>.XXXXXX.tmp" are touched.
    // Failures are ignored.
    void RemoveLeftovers(std::chrono::seconds minimumAge) const;

private:
    // The open file and what the system keeps of the old one; each system's half defines it.
    struct Native;

    void Flush();
    // The system's halves.
    void WriteOut(const char* data, std::size_t size);
    void CommitInPlace();
    [[noreturn]] void Fail(AtomicFileError::Kind kind, const char* what, int error) const;

    std::string path_;
    std::string target_;  // where the data goes: path_ with its links followed
    std::string temp_;
    std::unique_ptr<Native> native_;
    bool existed_ = false;
    bool inPlace_ = false;  // the open file is the target itself, and buffer_ holds everything
    std::vector<char> buffer_;
};

}  // namespace vireon
