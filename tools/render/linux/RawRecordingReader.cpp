// The POSIX raw reader: read(2) on the file or on descriptor 0.
#include "tools/render/input/RawRecordingReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "tools/render/RenderError.h"

namespace vireon::render {

namespace {

class RawRecordingReader final : public RecordingReader {
public:
    explicit RawRecordingReader(const std::string& path);
    ~RawRecordingReader() override;
    RawRecordingReader(const RawRecordingReader&) = delete;
    RawRecordingReader& operator=(const RawRecordingReader&) = delete;

    std::size_t Read(uint8_t* samples, std::size_t capacity) override;
    int64_t ExpectedSamples() const override { return expected_; }

private:
    std::string name_;
    int fd_ = -1;
    bool ownsFd_ = false;
    int64_t expected_ = -1;
};

RawRecordingReader::RawRecordingReader(const std::string& path) {
    if (path == "-") {
        name_ = "standard input";
        fd_ = STDIN_FILENO;
    } else {
        name_ = path;
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) throw RenderError(path + ": cannot open: " + std::strerror(errno));
        ownsFd_ = true;
    }
    struct stat st;
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            if (ownsFd_) ::close(fd_);
            throw RenderError(name_ + ": is a directory, not a recording");
        }
        if (S_ISREG(st.st_mode)) expected_ = st.st_size;
    }
}

RawRecordingReader::~RawRecordingReader() {
    if (ownsFd_) ::close(fd_);
}

std::size_t RawRecordingReader::Read(uint8_t* samples, std::size_t capacity) {
    std::size_t filled = 0;
    // Fill the chunk unless the stream ends: a pipe hands over whatever it holds at the moment.
    while (filled < capacity) {
        const ssize_t n = ::read(fd_, samples + filled, capacity - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw RenderError(name_ + ": read error: " + std::strerror(errno));
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    return filled;
}

}  // namespace

std::unique_ptr<RecordingReader> OpenRawRecording(const std::string& path) {
    return std::make_unique<RawRecordingReader>(path);
}

}  // namespace vireon::render
