#include "TextFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Errors.h"

namespace vireon {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string DirectoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Follows a chain of symbolic links to the name that finally holds the data, which need not
// exist yet (a dangling link is written through to the file it names). Empty when the chain
// cannot be followed (a loop, an unreadable link): renaming over the link would replace it.
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return {};
        std::string target(buf, static_cast<std::size_t>(n));
        current = target.starts_with('/') ? target : DirectoryOf(current) + "/" + target;
    }
    return {};
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::vector<std::string> SplitLines(std::string_view text) {
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> ReadLines(const std::string& path) {
    // O_NONBLOCK so that a FIFO without a writer reads as empty instead of hanging.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) throw FileOpenError(path);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw FileOpenError(path);

    std::string content;
    // The size is a hint only (a sparse file may claim far more than it holds before a NUL).
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        content.reserve(static_cast<std::size_t>(std::min<off_t>(st.st_size, off_t{1} << 26)));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n < 0) throw FileOpenError(path);
        if (n == 0) break;
        const char* nul =
            static_cast<const char*>(std::memchr(buf, '\0', static_cast<std::size_t>(n)));
        if (nul) {
            content.append(buf, static_cast<std::size_t>(nul - buf));
            break;  // the text ends at the NUL; nothing after it matters
        }
        content.append(buf, static_cast<std::size_t>(n));
    }
    return SplitLines(content);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    if (path.empty()) throw FileCreateError(path);
    const std::string target = FinalTarget(path);
    if (target.empty()) throw FileCreateError(path);

    // Everything that may throw on its own is done before the temporary file exists.
    std::string content;
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    content.reserve(total);
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }
    std::string temp = target + ".XXXXXX";

    mode_t mode = 0666 & ~[] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    struct stat st;
    bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed) {
        // A read-only file must refuse the save even for root, who could otherwise write it;
        // a rename would silently replace it.
        bool readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                        ::access(target.c_str(), W_OK) != 0;
        // Renaming over a device or a FIFO would replace the node itself, not feed it.
        if (!S_ISREG(st.st_mode) || readOnly) throw FileCreateError(path);
        mode = st.st_mode & 07777;
    }

    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) throw FileCreateError(path);

    auto fail = [&](auto error) {
        ::close(fd.release());
        ::unlink(temp.c_str());
        throw error;
    };
    if (existed) {
        // Owner first: a change of owner may clear set-id bits that the chmod below restores.
        // Only root may give the file away; others keep at least the group where allowed.
        [[maybe_unused]] int ignored =
            ::fchown(fd.get(), ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid);
    }
    if (::fchmod(fd.get(), mode) != 0) fail(FileCreateError(path));
    if (!WriteAll(fd.get(), content.data(), content.size())) fail(WriteError());
    if (::fsync(fd.get()) != 0) fail(WriteError());
    if (::close(fd.release()) != 0) {
        ::unlink(temp.c_str());
        throw WriteError();
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw FileCreateError(path);
    }
    // Make the rename itself durable.
    Fd dir(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace vireon
