// Stands in for vireon.exe until the Win32 window is written, so the packages and their tests can
// be made now: a GUI program that keeps its settings as the real one does, okaven.ini beside
// itself when that folder may be written, else %APPDATA%\Vireon\okaven.ini, and then ends.
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace {

bool writeSettings(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    static const char text[] = "[Settings]\r\nWritten=stand-in\r\n";
    DWORD written = 0;
    bool ok =
        WriteFile(file, text, sizeof text - 1, &written, nullptr) && written == sizeof text - 1;
    return CloseHandle(file) && ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetModuleFileNameW(nullptr, folder.data(), MAX_PATH));
    folder.resize(folder.rfind(L'\\'));
    if (writeSettings(folder + L"\\okaven.ini")) return 0;

    wchar_t appData[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return 1;
    std::wstring own = std::wstring(appData) + L"\\Vireon";
    CreateDirectoryW(own.c_str(), nullptr);
    return writeSettings(own + L"\\okaven.ini") ? 0 : 1;
}
