// The program entry on Windows: program-wide state, the services, the windows, the loop.
#include <memory>
#include <string>
#include <string_view>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "app/windows/Win32MainWindow.h"
#include "app/windows/Win32UrlOpener.h"
#include "platform/FilePaths.h"
#include "platform/windows/WaveInAudioInput.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32MessageBox.h"
#include "platform/windows/Win32ProgramLauncher.h"
#include "platform/windows/WindowsApi.h"
#include "settings/FileLocations.h"
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// The one instance of everything the program keeps for the whole run. Static storage: zero
// until InitialiseProgramState, and destroyed only after the main window has saved the settings.
vireon::ProgramState Program;

constexpr const char* HelpText =
    "Usage: vireon [--help | --version]\r\n"
    "Live audio-spectrum waterfall of the sound card's recording input around 1500 Hz, for\r\n"
    "radio amateurs: newest column at the right, 167 Hz at the bottom to 2823 Hz at the top.\r\n"
    "Started without arguments, it opens its window.\r\n"
    "\r\n"
    "Options:\r\n"
    "  --help     display this help and exit\r\n"
    "  --version  output version information and exit\r\n"
    "\r\n"
    "Files:\r\n"
    "The low-pass coefficients come from %APPDATA%\\Vireon\\fir1.txt if the user has one, else\r\n"
    "from fir1.txt beside the program. The settings are kept in okaven.ini beside the program,\r\n"
    "or in %APPDATA%\\Vireon\\ when that folder cannot be written.\r\n";

// A GUI program has no console of its own: the text goes where the caller redirected the
// output, else to the console of the command prompt it was started from, else nowhere.
bool WriteOut(std::string_view text) {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS))
        out = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return true;  // nobody to tell
    DWORD mode = 0;
    if (::GetConsoleMode(out, &mode)) {
        const std::wstring wide = vireon::Widen(text);
        DWORD written = 0;
        return ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written,
                               nullptr) != FALSE;
    }
    DWORD written = 0;
    return ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// --help and --version are answered without a window.
bool AnswerInformationRequest(int& status) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring argument = arguments != nullptr && count == 2 ? arguments[1] : L"";
    ::LocalFree(arguments);
    std::string text;
    if (argument == L"--help")
        text = HelpText;
    else if (argument == L"--version")
        text = std::string("vireon ") + VIREON_VERSION + "\r\n";
    else
        return false;
    status = WriteOut(text) ? 0 : 1;
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace vireon;
    if (int status = 0; AnswerInformationRequest(status)) return status;
    InitialiseProgramState(Program);
    // ShellExecuteW may hand the address to a shell extension, which needs COM.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    Win32MessageBox boxes;
    ErrorReport report(boxes, ApplicationTitle);
    Win32ProgramLauncher launcher;
    Win32UrlOpener browser;
    WaveInAudioInput audio;
    std::unique_ptr<Win32MainWindow> window;
    try {
        window = std::make_unique<Win32MainWindow>(instance, audio, report);
    } catch (...) {
        report.ShowCurrentException();
        return 0;
    }
    // From now on a box keeps the window waiting until it is answered.
    boxes.SetOwner(window->Handle());
    // The windows are destroyed only after RunProgram: TFormMain reads its placement to the end.
    return RunProgram(
        Program, {boxes, launcher, browser, audio, report}, *window, ProgramDirectory(),
        [&](TFormMain&) { window->RunMessageLoop(); }, UserSettingsFolder());
}
