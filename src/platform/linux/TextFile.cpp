// The POSIX half of platform/TextFile.h: what exists, and reading without ever blocking.
#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "platform/Errors.h"
#include "platform/TextContent.h"

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

private:
    int fd_;
};

}  // namespace

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::vector<std::string> ReadLines(const std::string& path) {
    // O_NONBLOCK so that a FIFO without a writer reads as empty instead of hanging.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) throw FileOpenError(path);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw FileOpenError(path);

    TextContent content(path);
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        content.Expect(static_cast<std::uint64_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n < 0) throw FileOpenError(path);
        if (n == 0 || !content.Append(buf, static_cast<std::size_t>(n))) break;
    }
    return content.Lines();
}

}  // namespace vireon
