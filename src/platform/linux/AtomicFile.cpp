// The POSIX half of platform/AtomicFile.h: mkostemps, fsync, rename.
#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "platform/TemporaryName.h"

namespace vireon {

namespace {

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows a chain of symbolic links to the name that finally holds the data, which need not
// exist yet (a dangling link is written through to the file it names). Empty, with errno set,
// when the chain cannot be followed (a loop, an unreadable link): renaming over the link
// would replace the link.
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0) return {};
        if (n == 0) {
            errno = ENOENT;
            return {};
        }
        const std::string target(buf, static_cast<std::size_t>(n));
        current = target.starts_with('/') ? target : DirectoryOf(current) + "/" + target;
    }
    errno = ELOOP;
    return {};
}

}  // namespace

struct AtomicFile::Native {
    int fd = -1;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

AtomicFile::AtomicFile(std::string path, InPlace inPlace) : path_(std::move(path)) {
    using Kind = AtomicFileError::Kind;
    native_ = std::make_unique<Native>();
    if (path_.empty()) Fail(Kind::Create, "cannot create", ENOENT);
    target_ = FinalTarget(path_);
    if (target_.empty()) Fail(Kind::Refused, "cannot follow the symbolic link", errno);

    native_->mode = NewFileMode();
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) Fail(Kind::Refused, "is a directory", 0);
        // Renaming over a device or a FIFO would replace the node itself, not feed it.
        if (!S_ISREG(st.st_mode)) Fail(Kind::Refused, "is not a regular file", 0);
        // A rename ignores the old file's permissions, and root passes access() whenever any
        // write bit is set, so both are asked.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(target_.c_str(), W_OK) != 0)
            Fail(Kind::Refused, "is read-only", 0);
        existed_ = true;
        native_->mode = st.st_mode & 07777;
        native_->owner = st.st_uid;
        native_->group = st.st_gid;
    }
    buffer_.reserve(AtomicFileBufferSize);
    temp_ = target_ + ".XXXXXX" + std::string(TempSuffix);
    // Last: nothing after it may throw, or the temporary file would outlive a failed constructor.
    native_->fd = ::mkostemps(temp_.data(), static_cast<int>(TempSuffix.size()), O_CLOEXEC);
    if (native_->fd >= 0) return;
    const int error = errno;
    if (inPlace == InPlace::Allow && existed_ && (error == EACCES || error == EPERM)) {
        // O_NONBLOCK: should a FIFO have taken the file's place meanwhile, fail rather than wait.
        const int fd = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            struct stat opened;
            if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
                native_->fd = fd;
                inPlace_ = true;
                temp_.clear();
                return;
            }
            ::close(fd);
        }
    }
    Fail(Kind::Create, "cannot create", error);
}

AtomicFile::~AtomicFile() {
    if (native_ && native_->fd >= 0) {
        ::close(native_->fd);
        if (!inPlace_) ::unlink(temp_.c_str());
    }
}

void AtomicFile::WriteOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(native_->fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail(AtomicFileError::Kind::Write, "write error", errno);
        if (n == 0) Fail(AtomicFileError::Kind::Write, "write error", ENOSPC);
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void AtomicFile::Commit() {
    using Kind = AtomicFileError::Kind;
    if (inPlace_) {
        CommitInPlace();
        return;
    }
    Flush();
    // Owner and mode only now: a write by anyone but root clears set-id bits.
    if (existed_) {
        // Owner first: a change of owner may clear set-id bits that the chmod below restores.
        // Only root may give the file away; others keep at least the group where allowed.
        [[maybe_unused]] const int ignored =
            ::fchown(native_->fd, ::geteuid() == 0 ? native_->owner : static_cast<uid_t>(-1),
                     native_->group);
    }
    if (::fchmod(native_->fd, native_->mode) != 0)
        Fail(Kind::Create, "cannot set permissions", errno);
    if (::fsync(native_->fd) != 0) Fail(Kind::Write, "write error", errno);
    const int fd = native_->fd;
    native_->fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        Fail(Kind::Write, "write error", error);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        Fail(Kind::Create, "cannot replace", error);
    }
    // Make the rename itself durable.
    const int dir = ::open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void AtomicFile::CommitInPlace() {
    using Kind = AtomicFileError::Kind;
    // New bytes first, then the cut: the file is never shorter than what has been written.
    WriteOut(buffer_.data(), buffer_.size());
    if (::ftruncate(native_->fd, static_cast<off_t>(buffer_.size())) != 0)
        Fail(Kind::Write, "write error", errno);
    if (::fsync(native_->fd) != 0) Fail(Kind::Write, "write error", errno);
    const int fd = native_->fd;
    native_->fd = -1;
    if (::close(fd) != 0) Fail(Kind::Write, "write error", errno);
}

void AtomicFile::RemoveLeftovers(std::chrono::seconds minimumAge) const {
    if (target_.empty()) return;
    const auto slash = target_.find_last_of('/');
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    DIR* folder = ::opendir(DirectoryOf(target_).c_str());
    if (folder == nullptr) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(folder)) {
        if (!IsTemporaryOf(entry->d_name, base)) continue;
        struct stat st;
        if (::fstatat(::dirfd(folder), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        // A file dated in the future is as young as can be.
        if (now - st.st_mtime < minimumAge.count()) continue;
        ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

}  // namespace vireon
