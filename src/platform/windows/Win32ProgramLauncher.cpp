#include "platform/windows/Win32ProgramLauncher.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace vireon {

bool Win32ProgramLauncher::Launch(const std::string& commandLine) {
    // CreateProcessW may write into the command line it is given.
    std::wstring line = Widen(commandLine);
    if (line.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    // Not followed: the program runs on by itself.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace vireon
