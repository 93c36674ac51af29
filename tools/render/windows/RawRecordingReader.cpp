// The Windows raw reader: ReadFile on the file or on the standard input handle, which gives the
// bytes as they are (no text-mode translation of CR LF or Ctrl-Z).
#include "tools/render/input/RawRecordingReader.h"

#include <windows.h>

#include <algorithm>

#include "platform/SystemError.h"
#include "platform/windows/WideText.h"
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
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool ownsFile_ = false;
    int64_t expected_ = -1;
};

std::string LastError() {
    return SystemErrorText(static_cast<int>(::GetLastError()));
}

RawRecordingReader::RawRecordingReader(const std::string& path) {
    if (path == "-") {
        name_ = "standard input";
        file_ = ::GetStdHandle(STD_INPUT_HANDLE);
        // No handle at all (a program started without one) reads as empty.
        if (file_ == nullptr) file_ = INVALID_HANDLE_VALUE;
    } else {
        name_ = path;
        const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            throw RenderError(name_ + ": is a directory, not a recording");
        file_ = ::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            throw RenderError(path + ": cannot open: " + LastError());
        ownsFile_ = true;
    }
    LARGE_INTEGER size;
    if (file_ != INVALID_HANDLE_VALUE && ::GetFileType(file_) == FILE_TYPE_DISK &&
        ::GetFileSizeEx(file_, &size))
        expected_ = size.QuadPart;
}

RawRecordingReader::~RawRecordingReader() {
    if (ownsFile_) ::CloseHandle(file_);
}

std::size_t RawRecordingReader::Read(uint8_t* samples, std::size_t capacity) {
    if (file_ == INVALID_HANDLE_VALUE) return 0;
    std::size_t filled = 0;
    // Fill the chunk unless the stream ends: a pipe hands over whatever it holds at the moment.
    while (filled < capacity) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity - filled, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(file_, samples + filled, chunk, &n, nullptr)) {
            // The writing end of a pipe closed: the stream has ended.
            if (::GetLastError() == ERROR_BROKEN_PIPE) break;
            throw RenderError(name_ + ": read error: " + LastError());
        }
        if (n == 0) break;
        filled += n;
    }
    return filled;
}

}  // namespace

std::unique_ptr<RecordingReader> OpenRawRecording(const std::string& path) {
    return std::make_unique<RawRecordingReader>(path);
}

}  // namespace vireon::render
