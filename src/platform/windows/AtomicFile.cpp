// The Windows half of platform/AtomicFile.h: a new file beside the target, FlushFileBuffers,
// MoveFileExW with replace and write-through.
#include "platform/AtomicFile.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <string_view>

#include "platform/TemporaryName.h"
#include "platform/windows/WideText.h"

namespace vireon {

namespace {

// What a new file takes over from the one it replaces; the read-only attribute refuses the save.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The path up to and including its last separator or drive colon ("C:x" is x in the drive's
// current folder); empty for a name alone.
std::string FolderPrefix(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

std::string RandomLetters() {
    static constexpr char letters[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::string text(TempRandomLength, '0');
    for (char& c : text) c = letters[random() % (sizeof letters - 1)];
    return text;
}

HANDLE OpenToQuery(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A symbolic link (a reparse point) is followed to the file it names: MoveFileExW would replace
// the link itself. Empty, with the error set, when it cannot be followed.
std::string FinalTarget(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const HANDLE file = OpenToQuery(Widen(path));
    if (file == INVALID_HANDLE_VALUE) return {};
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), MAX_PATH, 0);
    if (length >= MAX_PATH) {
        final.resize(length);
        length = ::GetFinalPathNameByHandleW(file, final.data(), length, 0);
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (length == 0 || length >= final.size()) {
        ::SetLastError(error != 0 ? error : ERROR_PATH_NOT_FOUND);
        return {};
    }
    final.resize(length);
    return Narrow(final);
}

}  // namespace

struct AtomicFile::Native {
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD attributes = 0;  // the old file's that the new one takes over
};

AtomicFile::AtomicFile(std::string path, InPlace inPlace) : path_(std::move(path)) {
    using Kind = AtomicFileError::Kind;
    native_ = std::make_unique<Native>();
    if (path_.empty()) Fail(Kind::Create, "cannot create", ERROR_PATH_NOT_FOUND);
    target_ = FinalTarget(path_);
    if (target_.empty())
        Fail(Kind::Refused, "cannot follow the symbolic link", static_cast<int>(::GetLastError()));
    const std::wstring target = Widen(target_);

    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        Fail(Kind::Refused, "is a directory", 0);
    // Renaming over a device ("NUL", "COM1") or a pipe would fail or replace the wrong thing.
    if (const HANDLE existing = OpenToQuery(target); existing != INVALID_HANDLE_VALUE) {
        const DWORD type = ::GetFileType(existing);
        ::CloseHandle(existing);
        if (type != FILE_TYPE_DISK) Fail(Kind::Refused, "is not a regular file", 0);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) Fail(Kind::Refused, "is read-only", 0);
            existed_ = true;
            native_->attributes = attributes & KeptAttributes;
        }
    }
    buffer_.reserve(AtomicFileBufferSize);
    // Last: nothing after it may throw, or the temporary file would outlive a failed constructor.
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        temp_ = target_ + "." + RandomLetters() + std::string(TempSuffix);
        native_->file = ::CreateFileW(Widen(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (native_->file != INVALID_HANDLE_VALUE) return;
        error = ::GetLastError();
    }
    temp_.clear();
    if (inPlace == InPlace::Allow && existed_ && error == ERROR_ACCESS_DENIED) {
        // Others may read it meanwhile, as they may on Linux.
        const HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            if (::GetFileType(file) == FILE_TYPE_DISK) {
                native_->file = file;
                inPlace_ = true;
                return;
            }
            ::CloseHandle(file);
        }
    }
    Fail(Kind::Create, "cannot create", static_cast<int>(error));
}

AtomicFile::~AtomicFile() {
    if (native_ && native_->file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(native_->file);
        if (!inPlace_) ::DeleteFileW(Widen(temp_).c_str());
    }
}

void AtomicFile::WriteOut(const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(native_->file, data, chunk, &written, nullptr))
            Fail(AtomicFileError::Kind::Write, "write error", static_cast<int>(::GetLastError()));
        if (written == 0) Fail(AtomicFileError::Kind::Write, "write error", ERROR_DISK_FULL);
        data += written;
        size -= written;
    }
}

void AtomicFile::Commit() {
    using Kind = AtomicFileError::Kind;
    if (inPlace_) {
        CommitInPlace();
        return;
    }
    Flush();
    if (native_->attributes != 0) {
        // Zero times leave those as they are. The old file's hidden or system mark is kept;
        // should the system refuse it, the file is still better saved than not.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = native_->attributes;
        ::SetFileInformationByHandle(native_->file, FileBasicInfo, &basic, sizeof basic);
    }
    if (!::FlushFileBuffers(native_->file))
        Fail(Kind::Write, "write error", static_cast<int>(::GetLastError()));
    const HANDLE file = native_->file;
    native_->file = INVALID_HANDLE_VALUE;
    const std::wstring temp = Widen(temp_);
    if (!::CloseHandle(file)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        Fail(Kind::Write, "write error", static_cast<int>(error));
    }
    // A virus scanner or an indexer may hold the old file open for a moment; give it a second.
    const std::wstring target = Widen(target_);
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(temp.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        const DWORD error = ::GetLastError();
        if (attempt < 20 && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                             error == ERROR_ACCESS_DENIED)) {
            ::Sleep(50);
            continue;
        }
        ::DeleteFileW(temp.c_str());
        Fail(Kind::Create, "cannot replace", static_cast<int>(error));
    }
}

void AtomicFile::CommitInPlace() {
    using Kind = AtomicFileError::Kind;
    // New bytes first, then the cut: the file is never shorter than what has been written.
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(native_->file, start, nullptr, FILE_BEGIN))
        Fail(Kind::Write, "write error", static_cast<int>(::GetLastError()));
    WriteOut(buffer_.data(), buffer_.size());
    if (!::SetEndOfFile(native_->file) || !::FlushFileBuffers(native_->file))
        Fail(Kind::Write, "write error", static_cast<int>(::GetLastError()));
    const HANDLE file = native_->file;
    native_->file = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(file)) Fail(Kind::Write, "write error", static_cast<int>(::GetLastError()));
}

void AtomicFile::RemoveLeftovers(std::chrono::seconds minimumAge) const {
    if (target_.empty()) return;
    const std::string folder = FolderPrefix(target_);
    const std::string base = target_.substr(folder.size());
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileExW(Widen(folder + "*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {  // 100 ns since 1601
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                      t.dwLowDateTime);
    };
    const long long minimumTicks = static_cast<long long>(minimumAge.count()) * 10'000'000;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
            0)
            continue;
        const std::string name = Narrow(found.cFileName);
        if (!IsTemporaryOf(name, base)) continue;
        // A file dated in the future is as young as can be.
        if (ticks(now) - ticks(found.ftLastWriteTime) < minimumTicks) continue;
        ::DeleteFileW(Widen(folder + name).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace vireon
