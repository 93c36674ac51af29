#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "RenderError.h"

namespace vireon::render {

namespace {

constexpr std::size_t BufferSize = 1 << 16;

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)), target_(path_) {
    struct stat st;
    mode_ = NewFileMode();
    if (::lstat(path_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Replace what the link points to, not the link.
        char resolved[PATH_MAX];
        if (::realpath(path_.c_str(), resolved)) target_ = resolved;
    }
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw RenderError(path_ + ": is a directory");
        mode_ = st.st_mode & 07777;
    }
    temp_ = target_ + ".XXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) Fail("cannot create");
    buffer_.reserve(BufferSize);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

void AtomicFile::Fail(const std::string& what) const {
    throw RenderError(path_ + ": " + what + ": " + std::strerror(errno));
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > BufferSize) Flush();
    if (size >= BufferSize) {
        buffer_.assign(bytes, bytes + size);
        Flush();
    } else {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    }
}

void AtomicFile::Flush() {
    const char* data = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("write error");
        if (n == 0) {
            errno = ENOSPC;
            Fail("write error");
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

int AtomicFile::Descriptor() {
    Flush();
    return fd_;
}

void AtomicFile::Commit() {
    Flush();
    if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) Fail("cannot set permissions");
    if (::fsync(fd_) != 0) Fail("write error");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        errno = error;
        Fail("write error");
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        errno = error;
        Fail("cannot replace");
    }
}

}  // namespace vireon::render
