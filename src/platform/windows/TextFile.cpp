// The Windows half of platform/TextFile.h: what exists, and reading files on a disk only.
#include "platform/TextFile.h"

#include <windows.h>

#include "platform/Errors.h"
#include "platform/TextContent.h"
#include "platform/windows/WideText.h"

namespace vireon {

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::string> ReadLines(const std::string& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open. Others may go on writing
    // or replacing the file while it is read, as they may on Linux.
    Handle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (path.empty() || file.get() == INVALID_HANDLE_VALUE) throw FileOpenError(path);
    // A console ("CON") or a pipe could keep the read waiting for ever; only a file on a disk
    // is read.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) throw FileOpenError(path);

    TextContent content(path);
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0)
        content.Expect(static_cast<std::uint64_t>(size.QuadPart));
    char buf[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buf, sizeof buf, &n, nullptr)) throw FileOpenError(path);
        if (n == 0 || !content.Append(buf, n)) break;
    }
    return content.Lines();
}

}  // namespace vireon
