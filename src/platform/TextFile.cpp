#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

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

namespace {

// How many lines SplitLines makes of text that holds no NUL.
std::size_t CountLines(std::string_view text) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++ends;
    const bool unterminated = !text.empty() && text.back() != '\n' && text.back() != '\r';
    return ends + (unterminated ? 1 : 0);
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    // Counted first so a file of millions of short lines takes one allocation, not a doubling
    // series that briefly needs half as much again.
    std::vector<std::string> lines;
    lines.reserve(CountLines(text));
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
        content.reserve(static_cast<std::size_t>(
            std::min<off_t>(st.st_size, static_cast<off_t>(MaxTextFileBytes))));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n < 0) throw FileOpenError(path);
        if (n == 0) break;
        const char* nul =
            static_cast<const char*>(std::memchr(buf, '\0', static_cast<std::size_t>(n)));
        const std::size_t taken =
            nul ? static_cast<std::size_t>(nul - buf) : static_cast<std::size_t>(n);
        // A FIFO with a busy writer, or a file something keeps appending to, has no end.
        if (content.size() + taken > MaxTextFileBytes) throw FileOpenError(path);
        content.append(buf, taken);
        if (nul) break;  // the text ends at the NUL; nothing after it matters
    }
    // Every line costs a string's worth of memory however short it is; a text of nothing but
    // line ends would take many times its size.
    if (CountLines(content) > MaxTextFileLines) throw FileOpenError(path);
    return SplitLines(content);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    try {
        AtomicFile file(path, AtomicFile::InPlace::Allow);
        for (const auto& line : lines) {
            file.Write(line.data(), line.size());
            file.Write("\r\n", 2);
        }
        file.Commit();
        // A minute is far longer than any save takes, so a younger leftover may be another
        // running instance's save.
        file.RemoveLeftovers(std::chrono::minutes(1));
    } catch (const AtomicFileError& e) {
        if (e.GetKind() == AtomicFileError::Kind::Write) throw WriteError();
        throw FileCreateError(path);
    }
}

}  // namespace vireon
