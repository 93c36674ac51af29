// The Windows half of settings/FileLocations.h: real checks for this user, %APPDATA%, and
// CreateDirectoryW.
#include "settings/FileLocations.h"

#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <cwchar>

#include "platform/windows/WideText.h"

namespace vireon {

bool SystemFolderProbe::CanRewrite(const std::string& path) const {
    const std::wstring name = Widen(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    // Opened for writing and closed untouched: neither its bytes nor its time change.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    ::CloseHandle(file);
    return disk;
}

bool SystemFolderProbe::CanCreateIn(const std::string& folder) const {
    // The system deletes the file when its handle closes, even should this process be killed
    // first.
    const std::wstring prefix =
        Widen(folder) + L".vireon-probe-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = prefix + std::to_wstring(attempt) + L".tmp";
        const HANDLE file = ::CreateFileW(
            name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

std::string UserSettingsFolder() {
    std::wstring folder;
    wchar_t* known = nullptr;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK) folder = known;
    ::CoTaskMemFree(known);
    if (folder.empty())
        if (const wchar_t* appData = ::_wgetenv(L"APPDATA")) folder = appData;
    if (folder.empty()) return {};
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return Narrow(folder) + "Vireon\\";
}

void CreateFolders(const std::string& folder) {
    // From the top down; the drive ("C:") or a share's name ("\\server") simply fails.
    for (std::size_t end = folder.find_first_of("\\/", 1); end != std::string::npos;
         end = folder.find_first_of("\\/", end + 1))
        ::CreateDirectoryW(Widen(folder.substr(0, end)).c_str(), nullptr);
    ::CreateDirectoryW(Widen(folder).c_str(), nullptr);
}

}  // namespace vireon
