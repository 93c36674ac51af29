// What the atomic writer does the same on every system: its errors and its buffer.
#include "platform/AtomicFile.h"

#include "platform/SystemError.h"

namespace vireon {

namespace {

std::string Describe(const std::string& path, const std::string& what, int error) {
    std::string text = path + ": " + what;
    if (error != 0) text += ": " + SystemErrorText(error);
    return text;
}

}  // namespace

AtomicFileError::AtomicFileError(std::string path, Kind kind, const std::string& what, int error)
    : Error(Describe(path, what, error)), path_(std::move(path)), kind_(kind), error_(error) {}

void AtomicFile::Fail(AtomicFileError::Kind kind, const char* what, int error) const {
    throw AtomicFileError(path_, kind, what, error);
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (inPlace_) {  // the target is touched only at Commit
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return;
    }
    if (buffer_.size() + size > AtomicFileBufferSize) Flush();
    if (size >= AtomicFileBufferSize)
        WriteOut(bytes, size);
    else
        buffer_.insert(buffer_.end(), bytes, bytes + size);  // within the reserved room
}

void AtomicFile::Flush() {
    WriteOut(buffer_.data(), buffer_.size());
    buffer_.clear();
}

}  // namespace vireon
